#include "book_catalogue.h"
#include "download_site_pages.h"
#include "novel_site_pages.h"
#include "silent_mp3.h"

#include "support/corpus.h"

#include <gtest/gtest.h>

namespace mz::sim {
namespace {

size_t count(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

bool everyLineEndsWithCrLf(const std::string& page) {
    for (size_t at = page.find('\n'); at != std::string::npos; at = page.find('\n', at + 1)) {
        if (at == 0 || page[at - 1] != '\r')
            return false;
    }
    return true;
}

class PageBuilders : public ::testing::Test {
  protected:
    BookCatalogue catalogue = BookCatalogue::samples();
    const SampleBook& jianghu = *catalogue.byId(1001);
    const SampleBook& changan = *catalogue.byId(1003);
};

TEST_F(PageBuilders, GbkSitesSendGbkAndUtf8SitesUtf8) {
    BookList books{&jianghu};
    for (const std::string& page :
         {biqugeSearchPage(books), sogouSearchPage(books), biqugeIndexPage(jianghu),
          sogouChapterPage(jianghu, 1), qishuSearchPage(books, "雨"), qishuBookPage(jianghu, "")}) {
        EXPECT_EQ(page.find("江湖"), std::string::npos);
        EXPECT_NE(page.find(toGbk("江湖")), std::string::npos);
    }
    EXPECT_NE(e8SearchPage(books, "http://h").find(jianghu.title), std::string::npos);
    EXPECT_NE(xiashuSearchPage(books).find(jianghu.title), std::string::npos);
}

TEST_F(PageBuilders, PagesUseCrLfLineEnds) {
    BookList books{&jianghu, &changan};
    for (const std::string& page :
         {biqugeSearchPage(books), e8SearchPage(books, "http://h"), sogouIndexPage(jianghu),
          e8ChapterPage(jianghu, 2), qishuSearchPage(books, "江")})
        EXPECT_TRUE(everyLineEndsWithCrLf(page));
}

TEST_F(PageBuilders, BiqugeRowIndentsItsFourthCellWithATab) {
    std::string page = biqugeSearchPage({&jianghu, &changan});
    EXPECT_EQ(count(page, "\r\n\t<td class=\"even\">"), 2u);
    EXPECT_EQ(count(page, "\r\n    <td class=\"even\" align=\"center\">"), 2u);
}

TEST_F(PageBuilders, SogouIndexListsEveryChapterAfterATabAndTheNewestAfterSpaces) {
    std::string page = sogouIndexPage(changan);
    EXPECT_EQ(count(page, "\t<dd><a href =\""), changan.chapters.size());
    EXPECT_EQ(count(page, "    <dd><a href =\""), 2u);
    EXPECT_NE(page.find("\"" + sogouChapterPath(1003, 1) + "\""), std::string::npos);
}

TEST_F(PageBuilders, E8SearchGivesWholeAddresses) {
    std::string page = e8SearchPage({&jianghu}, "http://127.0.0.1:9");
    EXPECT_NE(page.find("<a href=\"http://127.0.0.1:9/e8/1001/\" target=\"_blank\">\r\n" +
                        std::string(28, ' ') + jianghu.title + "</a>\r\n"),
              std::string::npos);
}

TEST_F(PageBuilders, ChapterWithoutParagraphsHasNoParagraphMarkup) {
    int last = static_cast<int>(changan.chapters.size());
    ASSERT_TRUE(changan.chapters.back().paragraphs.empty());
    EXPECT_EQ(biqugeChapterPage(changan, last).find("<p>"), std::string::npos);
    EXPECT_EQ(sogouChapterPage(changan, last).find("<br />"), std::string::npos);
    EXPECT_EQ(e8ChapterPage(changan, last).find("&nbsp;"), std::string::npos);
    EXPECT_EQ(count(biqugeChapterPage(changan, 1), "<p>"), changan.chapters[0].paragraphs.size());
}

TEST_F(PageBuilders, QishuMarksTheFirstOccurrenceOfTheWordInRed) {
    const SampleBook& yuluo = *catalogue.byId(1004);
    std::string page = qishuSearchPage({&jianghu, &yuluo}, "雨");
    EXPECT_NE(
        page.find(toGbk("\t\t\t<div class=\"searchTopic\"><span>[武侠]</span><a href=\"/qishu/"
                        "1001.html\">江湖夜<font color=\"red\">雨</font></a></div>")),
        std::string::npos);
    EXPECT_NE(page.find(toGbk("<font color=\"red\">雨</font>落青石巷</a>")), std::string::npos);
}

TEST_F(PageBuilders, XiashuDownPageListsTextLinksBeforeZipLinks) {
    std::string page = xiashuDownPage(jianghu, "http://h");
    size_t firstTxt = page.find("txt-download");
    size_t firstZip = page.find("zip-download");
    ASSERT_NE(firstTxt, std::string::npos);
    ASSERT_NE(firstZip, std::string::npos);
    EXPECT_LT(firstTxt, firstZip) << "the page order differs from the listed order";
    EXPECT_EQ(count(page, "txt-download"), 2u);
    EXPECT_EQ(count(page, "zip-download"), 2u);
}

TEST(SilentMp3, FramesAreWholeAndEachStartsWithASyncHeader) {
    std::string audio = silentMp3(5);
    ASSERT_EQ(audio.size(), 5u * mp3FrameBytes);
    for (size_t at = 0; at < audio.size(); at += mp3FrameBytes)
        EXPECT_EQ(audio.substr(at, 4), "\xFF\xFB\x90\xC4");
    EXPECT_TRUE(silentMp3(0).empty());
}

TEST(BookCatalogue, FindsByTitleOrAuthorButNotForAnEmptyWord) {
    BookCatalogue catalogue = BookCatalogue::samples();
    EXPECT_EQ(catalogue.find("雨").size(), 2u);
    ASSERT_EQ(catalogue.find("顾长风").size(), 1u);
    EXPECT_EQ(catalogue.find("顾长风")[0]->title, "星河问剑");
    EXPECT_TRUE(catalogue.findByTitle("顾长风").empty());
    EXPECT_TRUE(catalogue.find("").empty());
    EXPECT_TRUE(catalogue.find("不存在的书").empty());
}

TEST(BookCatalogue, ServesCorpusNovelsSplitAtTheirHeadings) {
    MZ_REQUIRE_CORPUS();
    BookCatalogue catalogue;
    EXPECT_GE(catalogue.addCorpus(mz::test::corpusDir()), 1);
    for (const SampleBook& book : catalogue.books()) {
        EXPECT_GE(book.chapters.size(), 9u) << book.title;
        EXPECT_FALSE(book.chapters.front().paragraphs.empty()) << book.title;
    }
    EXPECT_EQ(BookCatalogue().addCorpus("/nonexistent"), 0);
}

} // namespace
} // namespace mz::sim
