#include "sites/download_search.h"
#include "sites/novel_search.h"
#include "sites/online_chapters.h"
#include "sites/search_word.h"
#include "sites/web_address.h"

#include "text/code_page.h"

#include <gtest/gtest.h>

namespace mz {
namespace {

SiteConfig testConfig() {
    SiteConfig config;
    config.biquge = "https://bqg.test";
    config.sogou = "https://sg.test";
    config.e8Search = "https://e8s.test";
    config.e8SiteId = "77";
    config.xiashu = "https://xs.test";
    config.qishu = "http://qs.test";
    return config;
}

TEST(NovelSearchRequest, BaseThenPathThenWordWithNothingAfter) {
    const SiteConfig config = testConfig();
    const struct {
        NovelSite site;
        Text word;
        SiteRequest expected;
    } cases[] = {
        {NovelSite::Biquge,
         "%E4%B8%AD",
         {"https://bqg.test/modules/article/search.php?searchkey=%E4%B8%AD",
          PageDecoding::CodePage}},
        {NovelSite::Biquge,
         "",
         {"https://bqg.test/modules/article/search.php?searchkey=", PageDecoding::CodePage}},
        {NovelSite::Sogou,
         "%D6%D0",
         {"https://sg.test/s.php?ie=gbk&s=8916136881085470756&q=%D6%D0", PageDecoding::CodePage}},
        {NovelSite::E8, "a&b", {"https://e8s.test/search?siteid=77&q=a&b", PageDecoding::Utf8}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(novelSearchRequest(c.site, config, c.word), c.expected) << c.expected.address;
    EXPECT_EQ(novelSearchEncoder(NovelSite::Biquge), WordEncoder::EncodeUri);
    EXPECT_EQ(novelSearchEncoder(NovelSite::Sogou), WordEncoder::PercentEncode);
    EXPECT_EQ(novelSearchEncoder(NovelSite::E8), WordEncoder::EncodeUri);
}

TEST(NovelSearchPattern, LinesAndLengthsAreExact) {
    const Text& biquge = novelSearchPattern(NovelSite::Biquge);
    EXPECT_EQ(biquge.size(), 277u);
    EXPECT_EQ(biquge.substr(0, 20), "    <td class=\"odd\">");
    EXPECT_NE(biquge.find("</td>\r\n\t<td class=\"even\">(.*?)</td>\r\n    <td"), Text::npos);
    EXPECT_EQ(biquge.substr(biquge.size() - 6), "</td>\r");

    const Text& e8 = novelSearchPattern(NovelSite::E8);
    EXPECT_EQ(e8.size(), 591u);
    EXPECT_EQ(e8.substr(0, 40), Text(36, ' ') + "<li>");
    EXPECT_NE(e8.find("\"\r\n" + Text(44, ' ') + "target="), Text::npos);
    EXPECT_EQ(e8.substr(e8.size() - 8), "</span>\r");

    const Text& sogou = novelSearchPattern(NovelSite::Sogou);
    EXPECT_EQ(sogou.find('\n'), Text::npos);
    EXPECT_NE(sogou.find("<div class=\"cat\">\xB7\xD6\xC0\xE0\xA3\xBA(.*?)</div>"), Text::npos)
        << "分类 and a full-width colon, in GBK";
    EXPECT_NE(sogou.find("<div class=\"author\">\xD7\xF7\xD5\xDF\xA3\xBA(.*?)</div>"), Text::npos);
}

TEST(NovelSite, ChooserIndexAndBookSourceCodes) {
    EXPECT_EQ(novelSiteAt(0), NovelSite::Biquge);
    EXPECT_EQ(novelSiteAt(2), NovelSite::E8);
    EXPECT_EQ(novelSiteAt(-1), std::nullopt);
    EXPECT_EQ(novelSiteAt(3), std::nullopt);
    EXPECT_EQ(novelSiteBookSource(NovelSite::Biquge), "1");
    EXPECT_EQ(novelSiteBookSource(NovelSite::Sogou), "2");
    EXPECT_EQ(novelSiteBookSource(NovelSite::E8), "5");

    const struct {
        Text code;
        std::optional<NovelSite> site;
    } codes[] = {{"0", std::nullopt},     {"1", NovelSite::Biquge}, {"3", NovelSite::Biquge},
                 {"2", NovelSite::Sogou}, {"4", NovelSite::Sogou},  {"5", NovelSite::E8},
                 {"6", NovelSite::E8},    {"7", std::nullopt},      {"", std::nullopt},
                 {" 1", std::nullopt}};
    for (const auto& c : codes)
        EXPECT_EQ(novelSiteOfBookSource(c.code), c.site) << c.code;
}

// "中 a&b": the space goes out as %20 under both encoders; "&" only encodeURI keeps.
TEST(SearchWord, EachEncoderAsTheSitesExpect) {
    const Text word = utf8ToGbk("中 a&b");
    EXPECT_EQ(encodeSearchWord(WordEncoder::EncodeUri, word), "%E4%B8%AD%20a&b");
    EXPECT_EQ(encodeSearchWord(WordEncoder::PercentEncode, word), "%D6%D0%20%61%26%62");
    EXPECT_EQ(encodeSearchWord(WordEncoder::EncodeUri, ""), "");
    EXPECT_EQ(encodeSearchWord(WordEncoder::PercentEncode, ""), "");
}

TEST(OnlineChapterRequest, JoinsByPlainConcatenation) {
    const SiteConfig config = testConfig();
    EXPECT_EQ(chapterIndexRequest(NovelSite::Biquge, config, "/bqg/1/"),
              (SiteRequest{"https://bqg.test/bqg/1/", PageDecoding::CodePage}));
    EXPECT_EQ(chapterIndexRequest(NovelSite::Sogou, config, "/sg/1/"),
              (SiteRequest{"https://sg.test/sg/1/", PageDecoding::CodePage}));
    EXPECT_EQ(chapterIndexRequest(NovelSite::E8, config, "http://e8.test/1/"),
              (SiteRequest{"http://e8.test/1/", PageDecoding::Utf8}));

    // A relative 笔趣阁 link goes after base and book with nothing in between.
    EXPECT_EQ(chapterPageRequest(NovelSite::Biquge, config, "/bqg/1/", "2.html"),
              (SiteRequest{"https://bqg.test/bqg/1/2.html", PageDecoding::CodePage}));
    EXPECT_EQ(chapterPageRequest(NovelSite::Biquge, config, "/bqg/1", "2.html").address,
              "https://bqg.test/bqg/12.html");
    EXPECT_EQ(chapterPageRequest(NovelSite::Sogou, config, "/sg/1/", "/sg/1/2.html"),
              (SiteRequest{"https://sg.test/sg/1/2.html", PageDecoding::CodePage}));
    EXPECT_EQ(chapterPageRequest(NovelSite::E8, config, "http://e8.test/1/", "2.html"),
              (SiteRequest{"http://e8.test/1/2.html", PageDecoding::Utf8}));
}

TEST(OnlineChapterPattern, ExactForms) {
    EXPECT_EQ(chapterIndexPattern(NovelSite::Sogou).substr(0, 16), "\t<dd><a href =\"(");
    EXPECT_EQ(chapterIndexPattern(NovelSite::E8),
              "<dd> <a style=\"\" href=\"(.*?)\">(.*?)</a></dd>");
    EXPECT_EQ(paragraphPattern(NovelSite::Sogou).size(), 8 * 6 + Text("(.*?)<br />").size());
    EXPECT_EQ(paragraphPattern(NovelSite::E8), "&nbsp;&nbsp;(.*?)<br />");
}

TEST(OnlineChapterText, EachParagraphAfterALineBreak) {
    EXPECT_EQ(chapterText({"a", "", "&nbsp;b"}), "\r\na\r\n\r\n&nbsp;b");
    EXPECT_EQ(chapterText({}), "");
}

TEST(DownloadSearchRequest, WordBetweenTheFixedTexts) {
    const SiteConfig config = testConfig();
    EXPECT_EQ(downloadSearchRequest(DownloadSite::Xiashu, config, "%E4%B8%AD"),
              (SiteRequest{"https://xs.test/search.html?searchkey=%E4%B8%AD&searchtype=all",
                           PageDecoding::Utf8}));
    EXPECT_EQ(
        downloadSearchRequest(DownloadSite::Qishu, config, ""),
        (SiteRequest{"http://qs.test/search.asp?word=&m=0&s=0&x=20&y=4", PageDecoding::CodePage}));
    EXPECT_EQ(downloadSearchEncoder(DownloadSite::Xiashu), WordEncoder::EncodeUri);
    EXPECT_EQ(downloadSearchEncoder(DownloadSite::Qishu), WordEncoder::PercentEncode);
    EXPECT_EQ(downloadSiteAt(1), DownloadSite::Qishu);
    EXPECT_EQ(downloadSiteAt(2), std::nullopt);
}

TEST(DownloadLinks, XiashuBookIdIsTheSecondPieceAtIdEquals) {
    const struct {
        Text address;
        std::optional<Text> id;
    } cases[] = {
        {"/xs/book.php?id=1001", Text("1001")},
        {"/a?id=12&sid=34", Text("12&s")},
        {"/a?bid=id=5", Text("")},
        {"/xs/top.html", std::nullopt},
        {"/a?id=", std::nullopt},
        {"/a?ID=5", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(xiashuBookId(c.address), c.id) << c.address;
}

TEST(DownloadLinks, LinkPageRequests) {
    const SiteConfig config = testConfig();
    EXPECT_EQ(xiashuLinksRequest(config, "1001"),
              (SiteRequest{"https://xs.test/1001/down", PageDecoding::Utf8}));
    EXPECT_EQ(qishuLinksRequest(config, "/qishu/7.html"),
              (SiteRequest{"http://qs.test/qishu/7.html", PageDecoding::CodePage}));
}

TEST(WebAddress, OnlyHttpAndHttpsWithAHost) {
    const struct {
        Text address;
        bool web;
    } cases[] = {
        {"http://127.0.0.1:80/xs/files/1.txt", true},
        {"HTTPS://Example.com/a.zip", true},
        {"https://x/" + utf8ToGbk("下载") + ".txt", true},
        {"http://x/a b.txt", true},
        {"/xs/files/1.txt", false},
        {"file:///etc/passwd", false},
        {"C:\\Windows\\System32\\calc.exe", false},
        {"javascript:alert(1)", false},
        {"ftp://x/a.txt", false},
        {"http://", false},
        {"http:///etc/passwd", false},
        {" http://x/", false},
        {"http://x/\r\nfile:///", false},
        {"", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(isWebAddress(c.address), c.web) << c.address;
}

} // namespace
} // namespace mz
