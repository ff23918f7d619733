#include "reader/local_book.h"

#include "reader/chapter_finder.h"

#include "gbk.h"
#include "support/corpus.h"

#include <gtest/gtest.h>

namespace mz {
namespace {

using test::gbk;
using test::utf8;
using test::utf8All;

TEST(LocalBook, OpeningRowIsTheFirstLineWithItsCr) {
    const struct {
        const char* text;
        const char* name;
    } cases[] = {
        {"书名\r\n第一章 甲\r\n", "书名\r"},
        {"书名\n第一章 甲\n", ""},              // no CR LF: empty name
        {"书名\r第一章\r\n", "书名\r第一章\r"}, // a lone CR does not end the line
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(utf8(openingRowName(gbk(c.text))), c.name) << c.text;
}

TEST(LocalBook, RowsAreTheOpeningRowThenEachHeading) {
    const Text text = gbk("书名\r\n序言\r\n第一章 甲\r\n正文一\r\n第二章 乙\r\n正文二");
    EXPECT_EQ(utf8All(chapterRowNames(text)),
              (std::vector<std::string>{"书名\r", "第一章 甲\r", "第二章 乙\r"}));
}

TEST(LocalBook, ChapterTextRunsFromItsNameToTheNextName) {
    const Text text = gbk("书名\r\n序言\r\n第一章 甲\r\n正文一\r\n第二章 乙\r\n正文二");
    const std::vector<Text> rows = chapterRowNames(text);
    const struct {
        int row;
        const char* expected;
    } cases[] = {
        {0, "书名\r\n序言\r\n"},
        {1, "第一章 甲\r\n正文一\r\n"},
        {2, "第二章 乙\r\n正文二"}, // the last runs to the end
        {3, ""},                    // no such row
        {-1, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(utf8(localChapterText(text, rows, c.row)), c.expected) << c.row;
    EXPECT_EQ(localChapterText("", rows, 0), "");
}

TEST(LocalBook, NamesAreLocatedAtTheirFirstOccurrence) {
    // A heading at the top: the opening row and row 1 share position 1.
    const Text top = gbk("第一章 甲\r\n正文\r\n");
    const std::vector<Text> topRows = chapterRowNames(top);
    ASSERT_EQ(topRows.size(), 2u);
    EXPECT_EQ(topRows[0], topRows[1]);
    EXPECT_EQ(localChapterText(top, topRows, 0), "");
    EXPECT_EQ(utf8(localChapterText(top, topRows, 1)), "第一章 甲\r\n正文\r\n");

    // A table of contents quotes the headings before their real place.
    const Text toc = gbk("目录\r\n第二章 乙\r\n第一章 甲\r\n第二章 乙\r\n正文二\r\n");
    const std::vector<Text> rows = chapterRowNames(toc);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(utf8(localChapterText(toc, rows, 1)), "第二章 乙\r\n"); // up to 第一章
    EXPECT_EQ(localChapterText(toc, rows, 2), "");                    // 第二章 comes first
    EXPECT_EQ(utf8(localChapterText(toc, rows, 3)),
              "第二章 乙\r\n第一章 甲\r\n第二章 乙\r\n正文二\r\n");
}

TEST(LocalBook, NameSearchIgnoresAsciiCaseAndNeverStartsOnASecondByte) {
    const std::vector<Text> rows{gbk("卷首\r"), gbk("Part ONE\r")};
    EXPECT_EQ(utf8(localChapterText(gbk("卷首\r\npart one\r\n正文"), rows, 1)), "part one\r\n正文");
    // 车讧 is B3 B5 DA A7; a name "\xB5\xDA..." must not be found inside it.
    const Text text = gbk("车讧") + "\xB5\xDA";
    EXPECT_EQ(chapterStart(text, "\xB5\xDA"), 4u);
}

TEST(LocalBook, BookSuffixIsTxtInAnyCase) {
    EXPECT_TRUE(hasBookSuffix("a.txt"));
    EXPECT_TRUE(hasBookSuffix("A.TXT"));
    EXPECT_TRUE(hasBookSuffix("notes_txt"));
    EXPECT_FALSE(hasBookSuffix("a.tx"));
    EXPECT_FALSE(hasBookSuffix("tx"));
    EXPECT_FALSE(hasBookSuffix("a.txt.bak"));
}

TEST(LocalBook, EmptyBookHasOnlyAnEmptyOpeningRow) {
    const LocalBook book = completeLocalBook("", BookEncoding::AutoDetect);
    EXPECT_EQ(book.text, "");
    EXPECT_EQ(book.chapterNames, std::vector<Text>{Text()});
}

// The one-pass starts equal a search for each name, on text full of quoted
// headings, misaligned bytes and letter case.
TEST(LocalBook, PrecomputedStartsEqualSearchingEachName) {
    const Text text = gbk("目录\r\n第二章 乙\r\n一、甲\r\n十一、丙\r\n车讧一章 x\r\n"
                          "第一章 Abc\r\n正文第二章 乙\r\n第二章 乙\r\n第一章 aBC\r\n一、甲\r\n"
                          "二十一、丙\r\n末尾");
    std::vector<Text> names = chapterRowNames(text);
    names.push_back(gbk("第九章 不在\r")); // absent
    names.push_back(gbk("一、甲"));        // a prefix of a line
    names.push_back(Text("\xB5\xDA") + gbk("一章 x"));
    const std::vector<size_t> starts = firstOccurrences(text, names);
    ASSERT_EQ(starts.size(), names.size());
    for (size_t row = 0; row < names.size(); ++row) {
        EXPECT_EQ(starts[row], chapterStart(text, names[row])) << utf8(names[row]);
        EXPECT_EQ(localChapterText(text, starts, static_cast<int>(row)),
                  localChapterText(text, names, static_cast<int>(row)))
            << row;
    }
}

// Every real novel's list starts with its real first chapter.
TEST(LocalBook, RealNovelsStartWithTheirFirstChapter) {
    MZ_REQUIRE_CORPUS();
    const struct {
        const char* file;
        const char* first;
        size_t rows; // at least
    } books[] = {
        {"raw/hongloumeng.utf8.crlf.txt", "第一回  甄士隐梦幻识通灵", 121},
        {"raw/xiyouji.utf8.crlf.txt", "第一回 灵根育孕源流出", 101},
        // 第一百零一回 and later have eight bytes before 回: not headings.
        {"raw/shuihuzhuan.utf8.crlf.txt", "第一回　王教头私走延安府", 101},
        {"raw/aqzhengzhuan.utf8.crlf.txt", "第一章　序", 10},
        {"raw/rulinwaishi.gbk.lf.txt", "第一回　说楔子敷陈大义", 57},
        {"raw/sanguoyanyi.gbk-udc.lf.txt", "第一回 宴桃园豪杰三结义", 111},
        {"raw/xiyouji.gbk-udc.lf.txt", "第一回　灵根育孕源流出", 101},
        {"raw/hongloumeng-trad.gbk.crlf.txt", "第一回 甄士隱夢幻識通靈", 121},
        {"raw/hongloumeng-trad.big5.crlf.txt", "第一回 甄士隱夢幻識通靈", 121},
        {"derived/hongloumeng.utf16le.txt", "第一回  甄士隐梦幻识通灵", 121},
        {"derived/aqzhengzhuan.utf16le.txt", "第一章　序", 10},
    };
    for (const auto& b : books) {
        const LocalBook book = completeLocalBook(test::readFileBytes(test::corpusDir() / b.file),
                                                 BookEncoding::AutoDetect);
        ASSERT_GE(book.chapterNames.size(), 2u) << b.file;
        for (size_t row = 0; row < book.chapterNames.size(); ++row) {
            ASSERT_EQ(book.chapterStarts[row], chapterStart(book.text, book.chapterNames[row]))
                << b.file << " row " << row;
        }
        EXPECT_EQ(utf8(book.chapterNames[1]).rfind(b.first, 0), 0u)
            << b.file << ": " << utf8(book.chapterNames[1]);
        EXPECT_GE(book.chapterNames.size(), b.rows) << b.file;
    }
}

} // namespace
} // namespace mz
