#include "text/code_page.h"
#include "text/qt_text.h"

#include "support/corpus.h"

#include <gtest/gtest.h>

namespace mz {
namespace {

TEST(CodePage, Utf8ToGbkTable) {
    const struct {
        const char* name;
        Bytes utf8;
        Text gbk;
    } cases[] = {
        {"ascii", "abc", "abc"},
        {"chinese", "\xE4\xB8\xAD\xE6\x96\x87", "\xD6\xD0\xCE\xC4"},
        {"euro is 0x80", "\xE2\x82\xAC", "\x80"},
        {"private use maps to a user-defined code", "\xEE\x80\x80", "\xAA\xA1"},
        {"character 936 lacks", "\xF0\x9F\x98\x80", "?"},
        {"invalid byte becomes a replacement, then ?",
         "a\xFF"
         "b",
         "a?b"},
        {"truncated sequence", "a\xE4\xB8", "a??"},
        {"ends at the first NUL", Bytes("ab\0cd", 5), "ab"},
        {"empty", "", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(utf8ToGbk(c.utf8), c.gbk) << c.name;
}

TEST(CodePage, Utf16leToGbk) {
    EXPECT_EQ(utf16leToGbk(Bytes("\x2D\x4E\x87\x65", 4)), "\xD6\xD0\xCE\xC4");
    EXPECT_EQ(utf16leToGbk(Bytes("a\0b", 3)), "a") << "a trailing odd byte is ignored";
    EXPECT_EQ(utf16leToGbk(Bytes("a\0\0\0b\0", 6)), "a") << "ends at the first NUL";
    // A byte-order mark is converted like any other character: 936 lacks U+FEFF.
    EXPECT_EQ(utf16leToGbk(Bytes("\xFF\xFE"
                                 "a\0",
                                 4)),
              "?a");
    // Composite check: e + combining acute becomes the precomposed é (A8 A6).
    EXPECT_EQ(utf16leToGbk(Bytes("e\0\x01\x03", 4)), "\xA8\xA6");
}

TEST(CodePage, GbkRoundTripsThroughUtf8) {
    const Text samples[] = {
        "\x80",                             // euro
        "\xAA\xA1\xAF\xFE\xF8\xA1\xFE\xFE", // user-defined areas
        "\xA1\x40",                         // user-defined area A140
        "\xD6\xD0\xCE\xC4 abc \xA1\xA1",
    };
    for (const Text& gbk : samples) {
        Bytes utf8 = gbkToUtf8(gbk);
        EXPECT_EQ(utf8ToGbk(utf8), gbk);
        EXPECT_EQ(fromQString(toQString(gbk)), gbk);
    }
    EXPECT_EQ(gbkToUtf8("\xD6\xD0"), "\xE4\xB8\xAD");
}

TEST(CodePage, Utf8ToCodePageEndsAtNulAndComposes) {
    EXPECT_EQ(utf8ToCodePage(Bytes("\xE4\xB8\xAD\0x", 5)), "\xD6\xD0");
    EXPECT_EQ(utf8ToCodePage("e\xCC\x81"), "\xA8\xA6");
}

TEST(CodePage, QtBoundary) {
    QString s = toQString("\xD6\xD0"
                          "a");
    EXPECT_EQ(s, QString::fromUtf8("中a"));
    EXPECT_EQ(fromQString(QString::fromUtf8("墨舟")), utf8ToGbk("墨舟"));
}

TEST(CodePage, RealNovelsRoundTripGbk) {
    MZ_REQUIRE_CORPUS();
    auto utf8 = test::readFileBytes(test::corpusDir() / "raw/aqzhengzhuan.utf8.crlf.txt");
    auto gbk = test::readFileBytes(test::corpusDir() / "derived/aqzhengzhuan.gbk.crlf.txt");
    EXPECT_EQ(utf8ToGbk(utf8), gbk);
    EXPECT_EQ(gbkToUtf8(gbk), utf8);
    auto udc = test::readFileBytes(test::corpusDir() / "raw/sanguoyanyi.gbk-udc.lf.txt");
    EXPECT_EQ(utf8ToGbk(gbkToUtf8(udc)), udc) << "user-defined codes survive a round trip";
}

} // namespace
} // namespace mz
