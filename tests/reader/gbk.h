#pragma once

// Tables are written in UTF-8 for the reader of the test; the code under test
// works on GBK.

#include "text/code_page.h"

#include <string>
#include <string_view>
#include <vector>

namespace mz::test {

inline Text gbk(std::string_view utf8) {
    return utf8ToGbk(utf8);
}

inline std::string utf8(std::string_view gbkText) {
    return gbkToUtf8(gbkText);
}

inline std::vector<std::string> utf8All(const std::vector<Text>& texts) {
    std::vector<std::string> out;
    for (const Text& t : texts)
        out.push_back(utf8(t));
    return out;
}

} // namespace mz::test
