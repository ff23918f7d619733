#include "net/header_text.h"

#include <gtest/gtest.h>

namespace mz {
namespace {

struct BetweenCase {
    const char* name;
    std::string text, left, right;
    int start;
    bool matchCase;
    std::string expected;
};

TEST(TextBetween, FindsTheBytesBetweenMarkers) {
    const std::string quoteMark = "#\xD2\xFD\xBA\xC5"; // "#引号" in GBK
    const std::vector<BetweenCase> cases = {
        {"plain", "<a href=x>title</a>", ">", "</a>", 1, false, "title"},
        {"first left marker wins", "[1][2]", "[", "]", 1, false, "1"},
        {"start skips earlier markers", "[1][2]", "[", "]", 3, false, "2"},
        {"case ignored by default", "Set-Cookie: A=1; path", "set-cookie:", ";", 1, false, " A=1"},
        {"case matched when asked", "Set-Cookie: A=1; path", "set-cookie:", ";", 1, true, ""},
        {"missing left", "abc", "x", "c", 1, false, ""},
        {"missing right", "abc", "a", "x", 1, false, ""},
        {"right searched after left", "b]a[b", "[", "]", 1, false, ""},
        {"empty between", "[]", "[", "]", 1, false, ""},
        {"quote marker", "href=\"/book/1.html\">", "href=" + quoteMark, quoteMark, 1, false,
         "/book/1.html"},
        {"no match inside a double-byte character", "\xB0[\xA1]x[y]", "[", "]", 1, false, "y"},
    };
    for (const BetweenCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(textBetween(c.text, c.left, c.right, c.start, c.matchCase), c.expected);
    }
}

TEST(HeaderValue, TextAfterFirstColonTrimmed) {
    EXPECT_EQ(headerValue("Location:  http://h/a:b  "), "http://h/a:b");
    EXPECT_EQ(headerValue("Empty:"), "");
    EXPECT_EQ(headerValue("no colon"), "");
    EXPECT_EQ(headerValue("Wide:\xA1\xA1value\xA1\xA1"), "value");
}

} // namespace
} // namespace mz
