// The sites core against the site simulator: real requests over 127.0.0.1,
// real pattern passes, rows compared with the sample books.

#include "sites/download_search.h"
#include "sites/novel_search.h"
#include "sites/online_chapters.h"
#include "sites/search_word.h"
#include "sites/site_page.h"
#include "sites/web_address.h"

#include "support/simulator_suite.h"

#include "text/code_page.h"
#include "text/pattern_object.h"

#include <gtest/gtest.h>

namespace mz {
namespace {

Text gbk(const char* utf8) {
    return utf8ToGbk(utf8);
}

class SitesOnSimulator : public test::SimulatorSuite {
  protected:
    std::vector<SearchResultEntry> searchNovels(NovelSite site, const Text& word) {
        Text encoded = encodeSearchWord(novelSearchEncoder(site), word);
        Text page = fetchSitePage(novelSearchRequest(site, config(), encoded));
        return takeSearchResults(site, page, pattern);
    }

    std::vector<DownloadResultEntry> searchDownloads(DownloadSite site, const Text& word) {
        Text encoded = encodeSearchWord(downloadSearchEncoder(site), word);
        Text page = fetchSitePage(downloadSearchRequest(site, config(), encoded));
        return takeDownloadResults(site, page, pattern);
    }

    std::vector<ChapterEntry> chapterIndex(NovelSite site, const Text& book) {
        return takeChapterIndex(site, fetchSitePage(chapterIndexRequest(site, config(), book)),
                                pattern);
    }

    std::vector<Text> paragraphs(NovelSite site, const Text& book, const Text& row) {
        return takeParagraphs(site, fetchSitePage(chapterPageRequest(site, config(), book, row)),
                              pattern);
    }

    static SiteConfig config() { return simulator->siteConfig(); }
    static Text base() { return simulator->baseAddress(); }
    PatternObject pattern;
};

TEST_F(SitesOnSimulator, NovelSearchMapsEachSitesColumns) {
    const struct {
        NovelSite site;
        SearchResultEntry first;
    } cases[] = {
        {NovelSite::Biquge,
         {"/bqg/1001/", gbk("连载"), gbk("江湖夜雨"), gbk("沈听澜"), gbk("第三章 一页剑谱"),
          "2024-05-01"}},
        {NovelSite::Sogou, {"/sg/1001/", gbk("武侠"), gbk("江湖夜雨"), gbk("沈听澜"), "", ""}},
        {NovelSite::E8,
         {base() + "/e8/1001/", gbk("[武侠]"), gbk("江湖夜雨"), gbk("沈听澜"),
          gbk("第三章 一页剑谱"), "2024-05-01"}},
    };
    for (const auto& c : cases) {
        auto rows = searchNovels(c.site, gbk("雨"));
        ASSERT_EQ(rows.size(), 2u) << int(c.site);
        EXPECT_EQ(rows[0], c.first) << int(c.site);
        EXPECT_EQ(rows[1].title, gbk("雨落青石巷")) << int(c.site);
    }
}

TEST_F(SitesOnSimulator, NovelSearchWordWithSpaceAndAmpersand) {
    const Text word = gbk("浮生 & 半日");
    const struct {
        NovelSite site;
        std::string sentQuery;
    } cases[] = {
        {NovelSite::Biquge, "searchkey=%E6%B5%AE%E7%94%9F%20&%20%E5%8D%8A%E6%97%A5"},
        {NovelSite::Sogou, "q=%B8%A1%C9%FA%20%26%20%B0%EB%C8%D5"},
        {NovelSite::E8, "q=%E6%B5%AE%E7%94%9F%20&%20%E5%8D%8A%E6%97%A5"},
    };
    for (const auto& c : cases) {
        auto rows = searchNovels(c.site, word);
        std::string sent = lastRequest();
        EXPECT_EQ(sent.substr(sent.size() - c.sentQuery.size()), c.sentQuery);
        ASSERT_EQ(rows.size(), 1u) << sent;
        EXPECT_EQ(rows[0].title, word) << sent;
    }
}

TEST_F(SitesOnSimulator, NovelSearchEmptyWordOrNoMatchGivesNoRows) {
    for (NovelSite site : {NovelSite::Biquge, NovelSite::Sogou, NovelSite::E8}) {
        EXPECT_TRUE(searchNovels(site, "").empty());
        std::string sent = lastRequest();
        EXPECT_TRUE(sent.ends_with("=")) << "the request still goes out: " << sent;
        EXPECT_TRUE(searchNovels(site, gbk("查无此书")).empty());
    }
    EXPECT_EQ(lastRequest().find("/search?siteid=" + simulator->e8SiteId + "&q="), 0u);
}

TEST_F(SitesOnSimulator, ChapterIndexOfEachSite) {
    const struct {
        NovelSite site;
        Text book;
        size_t rows;
        ChapterEntry first;
    } cases[] = {
        {NovelSite::Biquge, "/bqg/1001/", 3, {"1.html", gbk("第一章 夜雨孤灯")}},
        {NovelSite::Biquge, "/bqg/1004/", 3, {"1.html", gbk("第一章 青石巷")}}, // upper-case tags
        // The newest chapters, listed first without a tab, give no rows.
        {NovelSite::Sogou, "/sg/1003/", 4, {"/sg/1003/1.html", gbk("第一章 京兆府的早晨")}},
        {NovelSite::E8, base() + "/e8/1002/", 3, {"1.html", gbk("第一章 山门初雪")}},
        {NovelSite::Biquge, "/bqg/9999/", 0, {}},
    };
    for (const auto& c : cases) {
        auto rows = chapterIndex(c.site, c.book);
        ASSERT_EQ(rows.size(), c.rows) << c.book;
        if (!rows.empty()) {
            EXPECT_EQ(rows[0], c.first) << c.book;
        }
    }
}

TEST_F(SitesOnSimulator, ChapterTextOfEachSite) {
    const Text second = gbk("来人是十年前的师兄，鬓边已经有了白发。");
    EXPECT_EQ(paragraphs(NovelSite::Biquge, "/bqg/1001/", "2.html").at(0), second);
    EXPECT_EQ(lastRequest(), "/bqg/1001/2.html") << "base + book + relative link";
    EXPECT_EQ(paragraphs(NovelSite::Sogou, "/sg/1001/", "/sg/1001/2.html").at(0), second);
    EXPECT_EQ(lastRequest(), "/sg/1001/2.html");
    auto e8 = paragraphs(NovelSite::E8, base() + "/e8/1001/", "2.html");
    ASSERT_EQ(e8.size(), 3u);
    EXPECT_EQ(e8[0], "&nbsp;&nbsp;" + second) << "two of four &nbsp; stay";
    EXPECT_EQ(chapterText(paragraphs(NovelSite::Biquge, "/bqg/1005/", "1.html")),
              "\r\n" + gbk("偷得浮生半日闲，泡一壶茶，看窗外的云。") + "\r\n" +
                  gbk("云走得很慢，茶凉得很快。"));
}

TEST_F(SitesOnSimulator, ChapterWithoutParagraphsGivesNoText) {
    for (auto [site, book, row] :
         {std::tuple{NovelSite::Biquge, Text("/bqg/1003/"), Text("4.html")},
          std::tuple{NovelSite::Sogou, Text("/sg/1003/"), Text("/sg/1003/4.html")},
          std::tuple{NovelSite::E8, base() + "/e8/1003/", Text("4.html")}})
        EXPECT_TRUE(paragraphs(site, book, row).empty()) << row;
}

TEST_F(SitesOnSimulator, XiashuResultsAndLinksZipFirst) {
    auto results = searchDownloads(DownloadSite::Xiashu, gbk("雨"));
    ASSERT_EQ(results.size(), 3u);
    EXPECT_EQ(results[0], (DownloadResultEntry{"/xs/book.php?id=1001", gbk("江湖夜雨")}));
    EXPECT_EQ(xiashuBookId(results[2].address), std::nullopt) << "the banner has no book id";

    auto id = xiashuBookId(results[0].address);
    ASSERT_TRUE(id);
    Text page = fetchSitePage(xiashuLinksRequest(config(), *id));
    EXPECT_EQ(lastRequest(), "/1001/down");
    auto links = takeDownloadLinks(DownloadSite::Xiashu, page, pattern);
    ASSERT_EQ(links.size(), 4u);
    EXPECT_EQ(links[0], (DownloadLinkEntry{base() + "/xs/files/1001.zip", gbk("ZIP全本下载")}));
    EXPECT_EQ(links[1].mode, gbk("ZIP备用下载"));
    EXPECT_EQ(links[2], (DownloadLinkEntry{base() + "/xs/files/1001.txt", gbk("TXT全本下载")}));
    EXPECT_EQ(links[3].mode, gbk("TXT备用下载"));
    for (const auto& link : links)
        EXPECT_TRUE(isWebAddress(link.address)) << link.address;
}

TEST_F(SitesOnSimulator, QishuJoinsTheSplitTitleAndListsLinks) {
    auto results = searchDownloads(DownloadSite::Qishu, gbk("雨"));
    EXPECT_EQ(lastRequest(), "/search.asp?word=%D3%EA&m=0&s=0&x=20&y=4");
    ASSERT_EQ(results.size(), 2u);
    EXPECT_EQ(results[0], (DownloadResultEntry{"/qishu/1001.html", gbk("江湖夜雨")}));
    EXPECT_EQ(results[1].title, gbk("雨落青石巷"));

    Text page = fetchSitePage(qishuLinksRequest(config(), results[0].address));
    auto links = takeDownloadLinks(DownloadSite::Qishu, page, pattern);
    ASSERT_EQ(links.size(), 2u);
    EXPECT_EQ(links[0],
              (DownloadLinkEntry{base() + "/qishu/files/1001.txt", gbk("TXT电子书下载")}));
}

TEST_F(SitesOnSimulator, DownloadSearchEmptyWordStillSendsTheRequest) {
    EXPECT_TRUE(searchDownloads(DownloadSite::Qishu, "").empty());
    EXPECT_EQ(lastRequest(), "/search.asp?word=&m=0&s=0&x=20&y=4");
    EXPECT_TRUE(searchDownloads(DownloadSite::Xiashu, "").empty());
    EXPECT_EQ(lastRequest(), "/search.html?searchkey=&searchtype=all");
}

TEST(SitesWhenDown, ASiteThatIsDownGivesNoRows) {
    sim::SiteSimulator gone;
    ASSERT_TRUE(gone.start());
    SiteConfig config = gone.siteConfig();
    gone.stop();
    PatternObject pattern;
    Text page = fetchSitePage(novelSearchRequest(NovelSite::Biquge, config, "%E9%9B%A8"));
    EXPECT_TRUE(page.empty());
    EXPECT_TRUE(takeSearchResults(NovelSite::Biquge, page, pattern).empty());
    EXPECT_TRUE(takeChapterIndex(NovelSite::E8,
                                 fetchSitePage(chapterIndexRequest(NovelSite::E8, config,
                                                                   config.e8Search + "/e8/1001/")),
                                 pattern)
                    .empty());
}

} // namespace
} // namespace mz
