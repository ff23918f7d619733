#include "text/text.h"

#include <gtest/gtest.h>

namespace mz {
namespace {

using namespace std::string_literals;

// 中 = D6 D0, 文 = CE C4, 回 = BB D8, 一 = D2 BB: 一's trail byte BB equals 回's lead.
const Text zhong = "\xD6\xD0";
const Text hui = "\xBB\xD8";
const Text yi = "\xD2\xBB";

struct FindCase {
    const char* name;
    Text text;
    Text needle;
    int start;
    int expected;
};

TEST(TextFind, PositionsAndBoundaries) {
    const FindCase cases[] = {
        {"plain ascii", "abcabc", "bc", 1, 2},
        {"from a later start", "abcabc", "bc", 3, 5},
        {"absent", "abc", "x", 1, -1},
        {"start past the end", "abc", "a", 9, -1},
        {"start below one counts as one", "abc", "a", -4, 1},
        {"empty needle found at start", "abc", "", 2, 2},
        {"case matters", "ABC", "b", 1, -1},
        {"double-byte text", "a" + zhong + hui, hui, 1, 4},
        // 一回: bytes D2 BB BB D8; BB D8 occurs at offset 1 (inside 一) and 2 (回).
        {"needle across a character boundary is skipped", yi + hui, hui, 1, 3},
        {"only a misaligned occurrence", yi + "\xD8", hui, 1, -1},
        {"ascii trail byte is not a character start",
         "\x81"
         "A"
         "A",
         "A", 1, 3},
    };
    for (const auto& c : cases)
        EXPECT_EQ(mz::find(c.text, c.needle, c.start), c.expected) << c.name;
}

TEST(TextFind, IgnoreCaseFoldsAsciiLettersOnly) {
    EXPECT_EQ(findIgnoreCase("Hello TXT", "txt"), 7);
    EXPECT_EQ(findIgnoreCase("x" + zhong, zhong), 2);
    EXPECT_EQ(findIgnoreCase(yi + hui, hui), 3);
    EXPECT_EQ(findIgnoreCase("abc", "[B"), -1);
}

TEST(TextSlices, LeftMidRight) {
    EXPECT_EQ(left("abcdef", 2), "ab");
    EXPECT_EQ(left("abc", 0), "");
    EXPECT_EQ(left("abc", -1), "");
    EXPECT_EQ(left("abc", 10), "abc");
    EXPECT_EQ(right("abcdef", 2), "ef");
    EXPECT_EQ(right("abc", 0), "");
    EXPECT_EQ(right("abc", 10), "abc");
    EXPECT_EQ(mid("abcdef", 2, 3), "bcd");
    EXPECT_EQ(mid("abcdef", 5, 9), "ef");
    EXPECT_EQ(mid("abcdef", 7, 1), "");
    EXPECT_EQ(mid("abcdef", 2, 0), "");
}

TEST(TextTrim, SpacesAndFullWidthSpacesOnly) {
    const Text full = "\xA1\xA1";
    const struct {
        Text in;
        Text out;
    } cases[] = {
        {"  ab  ", "ab"}, {full + " ab" + full, "ab"}, {"\tab\r\n", "\tab\r\n"}, {full + full, ""},
        {"", ""},         {" " + zhong + " ", zhong},
    };
    for (const auto& c : cases)
        EXPECT_EQ(trim(c.in), c.out) << c.in;
}

TEST(TextSplit, PieceRules) {
    using V = std::vector<Text>;
    EXPECT_EQ(split("a----b----", "----"), (V{"a"s, "b"s}));
    EXPECT_EQ(split("a--------b", "----"), (V{"a"s, ""s, "b"s}));
    EXPECT_EQ(split("----a", "----"), (V{""s, "a"s}));
    EXPECT_EQ(split("a----b", "----"), (V{"a"s, "b"s}));
    EXPECT_EQ(split("", "----"), V{});
    EXPECT_EQ(split("ab", "----"), (V{"ab"s}));
    EXPECT_EQ(split("a-----b----", "----"), (V{"a"s, "-b"s}));
    // The separator's bytes inside a double-byte character do not split it.
    EXPECT_EQ(split(yi + hui + "x" + hui, hui), (V{yi, "x"s}));
}

TEST(TextCountSubtext, NonOverlappingCaseFolded) {
    EXPECT_EQ(countSubtext("a\r\nb\r\n", "\r\n"), 2);
    EXPECT_EQ(countSubtext("aaaa", "aa"), 2);
    EXPECT_EQ(countSubtext("AbAB", "ab"), 2);
    EXPECT_EQ(countSubtext("", "a"), 0);
    EXPECT_EQ(countSubtext("abc", ""), 0);
    EXPECT_EQ(countSubtext(yi + hui, hui), 1);
}

} // namespace
} // namespace mz
