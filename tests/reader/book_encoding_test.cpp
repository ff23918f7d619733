#include "reader/book_encoding.h"

#include "gbk.h"
#include "support/corpus.h"

#include <gtest/gtest.h>

#include <random>

namespace mz {
namespace {

using test::gbk;
using test::utf8;

// UTF-16 code units of a UTF-8 text, as little- or big-endian bytes.
std::string utf16(std::string_view utf8Text, bool bigEndian) {
    std::string out;
    for (char16_t u : multiByteToWide(utf8Text, codePageUtf8)) {
        const char low = static_cast<char>(u & 0xFF), high = static_cast<char>(u >> 8);
        out += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return out;
}

std::string big5(std::string_view utf8Text) {
    // 第一回 紅樓夢 in code page 950.
    EXPECT_EQ(utf8Text, "第一回 紅樓夢\r\n");
    return "\xB2\xC4\xA4\x40\xA6\x5E \xAC\xF5\xBC\xD3\xB9\xDA\r\n";
}

constexpr std::string_view sample = "第一回 紅樓夢\r\n";

struct DecodeCase {
    const char* name;
    std::string bytes;
    BookEncoding choice;
    std::string expected; // UTF-8
};

class DecodeBookText : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeBookText, GivesTheGbkText) {
    const DecodeCase& c = GetParam();
    EXPECT_EQ(utf8(decodeBookText(c.bytes, c.choice)), c.expected) << c.name;
}

const std::string bom8 = "\xEF\xBB\xBF";
const std::string bomLe = "\xFF\xFE";
const std::string bomBe = "\xFE\xFF";

INSTANTIATE_TEST_SUITE_P(
    Choices, DecodeBookText,
    ::testing::Values(
        DecodeCase{"ansi takes the bytes", "  " + gbk(sample) + "  ", BookEncoding::Ansi,
                   std::string(sample)},
        DecodeCase{"no selection is ansi", gbk("　第一章　"), BookEncoding::None, "第一章"},
        DecodeCase{"trim keeps tabs and line ends", gbk("\t第一章\r\n "), BookEncoding::Ansi,
                   "\t第一章\r\n"},
        DecodeCase{"utf8", std::string(sample), BookEncoding::Utf8, std::string(sample)},
        DecodeCase{"utf8 mark is a character", bom8 + std::string(sample), BookEncoding::Utf8,
                   "?" + std::string(sample)},
        DecodeCase{"unicode", utf16(sample, false), BookEncoding::Unicode, std::string(sample)},
        DecodeCase{"unicode mark is a character", bomLe + utf16(sample, false),
                   BookEncoding::Unicode, "?" + std::string(sample)},
        DecodeCase{"unicode big endian is read little-endian too", utf16("ab", false),
                   BookEncoding::UnicodeBigEndian, "ab"},
        // A space as the first UTF-16 unit is 20 00: trimming the raw bytes
        // would shift every following unit by one byte.
        DecodeCase{"unicode trims after decoding", utf16(" 第一章 ", false), BookEncoding::Unicode,
                   "第一章"},
        DecodeCase{"auto gbk", gbk(sample), BookEncoding::AutoDetect, std::string(sample)},
        DecodeCase{"auto utf8", std::string(sample), BookEncoding::AutoDetect, std::string(sample)},
        DecodeCase{"auto utf8 mark consumed", bom8 + std::string(sample), BookEncoding::AutoDetect,
                   std::string(sample)},
        DecodeCase{"auto utf16le mark consumed", bomLe + utf16(sample, false),
                   BookEncoding::AutoDetect, std::string(sample)},
        DecodeCase{"auto utf16be mark consumed", bomBe + utf16(sample, true),
                   BookEncoding::AutoDetect, std::string(sample)},
        DecodeCase{"auto utf16le without mark", utf16(sample, false), BookEncoding::AutoDetect,
                   std::string(sample)},
        DecodeCase{"auto utf16be without mark", utf16(sample, true), BookEncoding::AutoDetect,
                   std::string(sample)},
        DecodeCase{"auto big5", big5(sample), BookEncoding::AutoDetect, std::string(sample)},
        DecodeCase{"auto ascii", "  plain\r\n", BookEncoding::AutoDetect, "plain\r\n"},
        DecodeCase{"auto gbk stops at a NUL", gbk("第一章") + std::string("\0rest", 5),
                   BookEncoding::AutoDetect, "第一章"},
        DecodeCase{"empty", "", BookEncoding::AutoDetect, ""}),
    [](const auto& info) {
        std::string name = info.param.name;
        for (char& ch : name)
            ch = std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
        return name;
    });

TEST(DetectEncoding, NamesTheEncodingAndItsMark) {
    const struct {
        std::string bytes;
        DetectedEncoding encoding;
        size_t mark;
    } cases[] = {
        {bom8 + "x", DetectedEncoding::Utf8, 3},
        {bomLe + "x\0", DetectedEncoding::Utf16Le, 2},
        {bomBe + std::string("\0x", 2), DetectedEncoding::Utf16Be, 2},
        {std::string(sample), DetectedEncoding::Utf8, 0},
        {gbk(sample), DetectedEncoding::Gbk, 0},
        {big5(sample), DetectedEncoding::Big5, 0},
        {utf16(sample, false), DetectedEncoding::Utf16Le, 0},
        {utf16(sample, true), DetectedEncoding::Utf16Be, 0},
    };
    for (const auto& c : cases) {
        const Detection d = detectEncoding(c.bytes);
        EXPECT_EQ(d.encoding, c.encoding) << utf8(c.bytes);
        EXPECT_EQ(d.markLength, c.mark) << utf8(c.bytes);
    }
}

// The one-pass book decoder gives what the general conversion gives, also for
// broken and truncated sequences, NULs and characters code page 936 lacks.
TEST(Utf8ToGbk, AgreesWithTheGeneralConversion) {
    const std::vector<std::string> pieces = {"a",
                                             "\r\n",
                                             "\xE4\xB8\xAD",
                                             "\xE6\x96\x87",
                                             "\xE2\x82\xAC",
                                             "\xEE\x80\x80",
                                             "\xED\x9F\xBF",
                                             "\xED\xA0\x80",
                                             "\xF0\x9F\x98\x80",
                                             "\xC3\xA9",
                                             "\xE4\xB8",
                                             "\xFF",
                                             "\x80",
                                             "\xEF\xBB\xBF",
                                             std::string(1, '\0'),
                                             "abcdefgh"};
    std::mt19937 random(7);
    for (int round = 0; round < 500; ++round) {
        std::string bytes;
        const int length = static_cast<int>(random() % 40);
        for (int k = 0; k < length; ++k)
            bytes += pieces[random() % pieces.size()];
        Text general = wideToMultiByte(multiByteToWide(bytes, codePageUtf8), codePageGbk);
        general.resize(std::min(general.size(), general.find('\0')));
        ASSERT_EQ(utf8ToGbk(bytes), general) << round;
    }
}

// Every real novel, whatever its encoding, reads under auto-detection as the
// text its own encoding gives.
TEST(DetectEncoding, ReadsEveryRealNovel) {
    MZ_REQUIRE_CORPUS();
    const auto dir = test::corpusDir();
    const auto bytes = [&](const char* name) { return test::readFileBytes(dir / name); };
    const struct {
        const char* file;
        Text expected;
    } books[] = {
        {"raw/hongloumeng.utf8.crlf.txt", utf8ToGbk(bytes("raw/hongloumeng.utf8.crlf.txt"))},
        {"raw/xiyouji.utf8.crlf.txt", utf8ToGbk(bytes("raw/xiyouji.utf8.crlf.txt"))},
        {"raw/shuihuzhuan.utf8.crlf.txt", utf8ToGbk(bytes("raw/shuihuzhuan.utf8.crlf.txt"))},
        {"raw/aqzhengzhuan.utf8.crlf.txt", utf8ToGbk(bytes("raw/aqzhengzhuan.utf8.crlf.txt"))},
        {"raw/rulinwaishi.gbk.lf.txt", bytes("raw/rulinwaishi.gbk.lf.txt")},
        {"raw/sanguoyanyi.gbk-udc.lf.txt", bytes("raw/sanguoyanyi.gbk-udc.lf.txt")},
        {"raw/xiyouji.gbk-udc.lf.txt", bytes("raw/xiyouji.gbk-udc.lf.txt")},
        {"raw/hongloumeng-trad.gbk.crlf.txt", bytes("raw/hongloumeng-trad.gbk.crlf.txt")},
        {"raw/hongloumeng-trad.big5.crlf.txt", bytes("raw/hongloumeng-trad.gbk.crlf.txt")},
        {"derived/hongloumeng.gbk.crlf.txt", bytes("derived/hongloumeng.gbk.crlf.txt")},
        {"derived/hongloumeng.utf8bom.txt", bytes("derived/hongloumeng.gbk.crlf.txt")},
        {"derived/hongloumeng.utf16le.txt", bytes("derived/hongloumeng.gbk.crlf.txt")},
        {"derived/aqzhengzhuan.gbk.crlf.txt", bytes("derived/aqzhengzhuan.gbk.crlf.txt")},
        {"derived/aqzhengzhuan.utf8bom.txt", bytes("derived/aqzhengzhuan.gbk.crlf.txt")},
        {"derived/aqzhengzhuan.utf16le.txt", bytes("derived/aqzhengzhuan.gbk.crlf.txt")},
    };
    for (const auto& book : books) {
        const Text text = decodeBookText(bytes(book.file), BookEncoding::AutoDetect);
        const Text expected = trim(book.expected);
        ASSERT_EQ(text.size(), expected.size()) << book.file;
        EXPECT_TRUE(text == expected) << book.file;
    }
}

} // namespace
} // namespace mz
