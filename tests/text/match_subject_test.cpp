#include "text/match_subject.h"

#include "text/code_page.h"
#include "text/text.h"
#include "text/vbscript_syntax.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace mz {
namespace {

// Byte offset of every unit and of the end, found one character at a time by the
// converter itself.
std::vector<int> referenceOffsets(const Text& text) {
    std::vector<int> offsets;
    size_t i = 0;
    while (i < text.size()) {
        offsets.push_back(static_cast<int>(i));
        const bool pair =
            isLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() &&
            multiByteToWide(std::string_view(text).substr(i, 2), codePageGbk).size() == 1;
        i += pair ? 2 : 1;
    }
    offsets.push_back(static_cast<int>(text.size()));
    return offsets;
}

Text repeated(const Text& piece, int times) {
    Text out;
    for (int k = 0; k < times; ++k)
        out += piece;
    return out;
}

const Text zhang = "\xD5\xC2"; // 章

// Units, byte offsets and exactness across block ends, ASCII runs of every length
// around the eight-byte steps, and each kind of broken sequence.
TEST(MatchSubject, AgreesWithTheWideConversion) {
    const struct {
        const char* name;
        Text gbk;
        bool exact;
    } cases[] = {
        {"empty", "", true},
        {"one byte", "a", true},
        {"63 bytes", Text(63, 'A'), true},
        {"64 bytes: the end opens a block", Text(64, 'A'), true},
        {"65 bytes", Text(65, 'A'), true},
        {"Chinese across blocks", repeated("ab" + zhang, 100), true},
        {"runs of seven ASCII bytes", repeated("<td>x1>" + zhang, 60), true},
        {"Chinese only", repeated(zhang, 130), true},
        {"euro, 0xFF and NUL", repeated(Text("\x80\xFFz\0", 4) + zhang, 40), true},
        {"lead byte with a high bad trail byte", repeated("ab\x81\xFF", 40), false},
        {"lead byte with an ASCII bad trail byte", repeated("ab\x81\x7F", 40), false},
        {"lead byte at the end", Text(70, 'a') + "\x81", false},
    };
    for (const auto& c : cases) {
        const std::u16string wide = multiByteToWide(c.gbk, codePageGbk);
        const std::vector<int> offsets = referenceOffsets(c.gbk);
        for (const bool ignoreCase : {false, true}) {
            const MatchSubject subject(c.gbk, ignoreCase, true);
            const std::vector<std::int32_t> units(subject.units(),
                                                  subject.units() + subject.size());
            EXPECT_EQ(units, toMatchUnits(wide, ignoreCase, true)) << c.name;
            std::vector<int> got;
            for (size_t u = 0; u <= subject.size(); ++u)
                got.push_back(subject.byteOffset(u));
            EXPECT_EQ(got, offsets) << c.name;
            EXPECT_EQ(subject.exactBytes(), c.exact) << c.name;
        }
    }
}

} // namespace
} // namespace mz
