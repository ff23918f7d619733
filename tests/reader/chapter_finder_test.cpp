#include "reader/chapter_finder.h"

#include "gbk.h"
#include "support/corpus.h"

#include <boost/regex.hpp>
#include <gtest/gtest.h>
#include <unicode/uchar.h>

#include <locale>
#include <random>

namespace mz {
namespace {

using test::gbk;
using test::utf8;

std::vector<std::string> headingTexts(std::string_view text) {
    std::vector<std::string> out;
    for (const ChapterHeading& h : findChapterHeadings(text))
        out.push_back(utf8(text.substr(h.offset, h.length)));
    return out;
}

TEST(ChapterFinder, PatternIsTheFixedConstant) {
    EXPECT_EQ(chapterPattern.size(), 171u);
    EXPECT_EQ(utf8(chapterPattern),
              "第[^章]{1,6}章[^\\n]+|第[^回]{1,6}回[^\\n]+|第[^卷]{1,6}卷[^\\n]+|"
              "第[^节]{1,6}节[^\\n]+|第[^集]{1,6}集[^\\n]+|第[^部]{1,6}部[^\\n]+|"
              "\\b(一|二|三|四|五|六|七|八|九|十|零)+、[^\\n]+");
}

struct HeadingCase {
    const char* name;
    const char* text; // UTF-8, converted to GBK
    std::vector<std::string> headings;
};

class ChapterFinderCases : public ::testing::TestWithParam<HeadingCase> {};

TEST_P(ChapterFinderCases, FindsExactlyTheseHeadings) {
    const HeadingCase& c = GetParam();
    EXPECT_EQ(headingTexts(gbk(c.text)), c.headings) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Table, ChapterFinderCases,
    ::testing::Values(
        HeadingCase{"crlf line keeps its CR", "书名\r\n第一章 开端\r\n正文\r\n", {"第一章 开端\r"}},
        // 一 is D2 BB and 回 is BB D8: a byte-wise [^回] would lose these.
        HeadingCase{"hui with yi",
                    "第一回 甄士隐\n第十一回 晴雯\n第二十一回 贤袭人\n",
                    {"第一回 甄士隐", "第十一回 晴雯", "第二十一回 贤袭人"}},
        // 这 is D5 E2; its first byte is the first byte of 章.
        HeadingCase{
            "gap character sharing a byte with the heading word", "第这章 说明\n", {"第这章 说明"}},
        HeadingCase{"all six heading words",
                    "第一章 a\n第二回 b\n第三卷 c\n第四节 d\n第五集 e\n第六部 f\n",
                    {"第一章 a", "第二回 b", "第三卷 c", "第四节 d", "第五集 e", "第六部 f"}},
        HeadingCase{"six bytes between is the most",
                    "第一百二十三章 长\n第一二三章 短\n",
                    {"第一二三章 短"}},
        HeadingCase{
            "digits count one byte each", "第1234章 数\n第1234567章 太长\n", {"第1234章 数"}},
        HeadingCase{"mid-sentence runs to the line end",
                    "他读到第三章时睡着了\n下一行\n",
                    {"第三章时睡着了"}},
        HeadingCase{"heading word needs the rest of a line", "第一章\n第二章", {}},
        HeadingCase{"one heading per line", "第一章 甲 第二章 乙\n", {"第一章 甲 第二章 乙"}},
        // 车 is B3 B5 and 讧 is DA A7: the bytes of 第 straddle them.
        HeadingCase{"misaligned di is no heading", "车讧一章 假\n车讧第一章 真\n", {"第一章 真"}},
        HeadingCase{
            "numerals at a line start", "一、总论\n十二、分论\n", {"一、总论", "十二、分论"}},
        HeadingCase{"numerals after punctuation", "他说。一、二\n", {"一、二"}},
        HeadingCase{"numerals after a full-width space", "　三、其三\n", {"三、其三"}},
        HeadingCase{
            "numerals after a letter", "第十一、甲\n话一、乙\na二、丙\n_三、丁\n9四、戊\n", {}},
        HeadingCase{"numeral run needs the comma", "一二三四\n", {}}),
    [](const auto& info) {
        std::string name = info.param.name;
        for (char& ch : name)
            ch = std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
        return name;
    });

// The plain way: one Boost search over the whole text, each search resuming
// where the previous match ended; a match starting on a second byte, or a
// numeral run without a word boundary before it, is retried one byte further.
std::vector<ChapterHeading> wholeTextSearch(std::string_view text) {
    boost::regex regex;
    regex.imbue(std::locale::classic());
    regex.assign(characterAwarePattern(), boost::regex::perl | boost::regex::icase);
    std::vector<bool> starts(text.size() + 1, false);
    for (size_t i = 0; i < text.size();
         i += isLeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1)
        starts[i] = true;
    const auto wordBefore = [&](size_t at) {
        if (at == 0)
            return false;
        size_t p = at - 1;
        while (!starts[p])
            --p;
        const std::u16string c = multiByteToWide(text.substr(p, at - p), codePageGbk);
        return !c.empty() && (u_hasBinaryProperty(c[0], UCHAR_POSIX_ALNUM) || c[0] == u'_');
    };
    std::vector<ChapterHeading> out;
    size_t pos = 0;
    boost::cmatch m;
    while (pos < text.size() &&
           boost::regex_search(text.data() + pos, text.data() + text.size(), m, regex)) {
        const size_t at = pos + static_cast<size_t>(m.position(std::size_t{0}));
        const bool numerals = m[1].matched;
        if (!starts[at] || (numerals && wordBefore(at))) {
            pos = at + 1;
            continue;
        }
        out.push_back({at, static_cast<size_t>(m.length(0))});
        pos = at + static_cast<size_t>(m.length(0));
    }
    return out;
}

void expectSameAsWholeTextSearch(std::string_view text, const std::string& label) {
    const auto fast = findChapterHeadings(text);
    const auto plain = wholeTextSearch(text);
    ASSERT_EQ(fast.size(), plain.size()) << label;
    for (size_t i = 0; i < fast.size(); ++i) {
        ASSERT_EQ(fast[i].offset, plain[i].offset) << label << " heading " << i;
        ASSERT_EQ(fast[i].length, plain[i].length) << label << " heading " << i;
    }
}

TEST(ChapterFinder, AgreesWithWholeTextSearchOnNoisyText) {
    // Bytes drawn mostly from the pattern's own characters, so that headings,
    // near-misses and misalignments are frequent.
    const std::vector<std::string> pieces = {gbk("第"), gbk("章"), gbk("回"), gbk("一"), gbk("十"),
                                             gbk("、"), gbk("。"), gbk("车"), gbk("讧"), gbk("这"),
                                             "\n",      "\r\n",    " ",       "a",       "1",
                                             "\xB5",    "\xDA",    "\xA1",    "\xA2"};
    std::mt19937 random(20240611);
    std::uniform_int_distribution<size_t> pick(0, pieces.size() - 1);
    size_t found = 0;
    for (int round = 0; round < 300; ++round) {
        std::string text;
        const int length = 1 + static_cast<int>(random() % 80);
        for (int k = 0; k < length; ++k)
            text += pieces[pick(random)];
        expectSameAsWholeTextSearch(text, "round " + std::to_string(round));
        if (HasFatalFailure())
            return;
        found += findChapterHeadings(text).size();
    }
    EXPECT_GT(found, 100u) << "the noise should hold many headings";
}

TEST(ChapterFinder, AgreesWithWholeTextSearchOnRealNovels) {
    MZ_REQUIRE_CORPUS();
    for (const char* name : {"derived/hongloumeng.gbk.crlf.txt", "raw/sanguoyanyi.gbk-udc.lf.txt",
                             "raw/rulinwaishi.gbk.lf.txt", "raw/hongloumeng-trad.big5.crlf.txt"}) {
        const std::string text = test::readFileBytes(test::corpusDir() / name);
        expectSameAsWholeTextSearch(text, name);
    }
}

TEST(ChapterFinder, WordCharacterBeforeClassifiesWholeCharacters) {
    const Text text = gbk("甲　a。_1");
    // offsets: 甲 0-1, 　 2-3, a 4, 。 5-6, _ 7, 1 8
    EXPECT_FALSE(wordCharacterBefore(text, 0));
    EXPECT_TRUE(wordCharacterBefore(text, 2));  // ideograph
    EXPECT_FALSE(wordCharacterBefore(text, 4)); // full-width space
    EXPECT_TRUE(wordCharacterBefore(text, 5));  // ASCII letter
    EXPECT_FALSE(wordCharacterBefore(text, 7)); // ideographic full stop
    EXPECT_TRUE(wordCharacterBefore(text, 8));  // underscore
    EXPECT_TRUE(wordCharacterBefore(text, 9));  // digit
}

} // namespace
} // namespace mz
