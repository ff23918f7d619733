#include "silent_mp3.h"
#include "site_simulator.h"

#include "novel_site_pages.h"

#include <httplib.h>

#include <gtest/gtest.h>

namespace mz::sim {
namespace {

class SiteSimulatorTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(simulator.start()); }

    httplib::Result get(const std::string& target) {
        httplib::Client client("127.0.0.1", simulator.port());
        client.set_connection_timeout(5);
        return client.Get(target.c_str());
    }

    std::string body(const std::string& target) {
        auto result = get(target);
        return result ? result->body : std::string();
    }

    SiteSimulator simulator;
};

// Each site decodes the word in its own encoding: 中 as UTF-8 or as GBK bytes.
TEST_F(SiteSimulatorTest, EachSearchDecodesItsOwnEncoding) {
    const std::string jiangGbk = toGbk("江湖夜雨");
    const struct {
        const char* name;
        std::string target;
        std::string expected;
    } cases[] = {
        {"笔趣阁, encodeURI", "/modules/article/search.php?searchkey=%E6%B1%9F%E6%B9%96", jiangGbk},
        {"搜狗, GBK bytes", "/s.php?ie=gbk&s=8916136881085470756&q=%BD%AD%BA%FE", jiangGbk},
        {"E8, encodeURI", "/search?siteid=e8zw&q=%E6%B1%9F%E6%B9%96", "江湖夜雨"},
        {"下书网, encodeURI", "/search.html?searchkey=%E6%B1%9F%E6%B9%96&searchtype=all",
         "江湖夜雨"},
        {"奇书网, GBK bytes", "/search.asp?word=%BD%AD%BA%FE&m=0&s=0&x=20&y=4",
         toGbk("<font color=\"red\">江湖</font>夜雨")},
    };
    for (const auto& c : cases)
        EXPECT_NE(body(c.target).find(c.expected), std::string::npos) << c.name;
}

TEST_F(SiteSimulatorTest, SearchWithTheWrongEncodingOrMissingIdsFindsNothing) {
    const std::string jiang = "江湖";
    const std::string jiangGbk = toGbk(jiang);
    const struct {
        const char* name;
        std::string target;
    } cases[] = {
        {"搜狗 given UTF-8", "/s.php?ie=gbk&s=8916136881085470756&q=%E6%B1%9F%E6%B9%96"},
        {"搜狗 without its engine id", "/s.php?ie=gbk&q=%BD%AD%BA%FE"},
        {"E8 with another site id", "/search?siteid=other&q=%E6%B1%9F%E6%B9%96"},
        {"下书网 without searchtype", "/search.html?searchkey=%E6%B1%9F%E6%B9%96"},
        {"笔趣阁 with an empty word", "/modules/article/search.php?searchkey="},
    };
    for (const auto& c : cases) {
        auto result = get(c.target);
        ASSERT_TRUE(result) << c.name;
        EXPECT_EQ(result->status, 200) << c.name;
        EXPECT_EQ(result->body.find(jiangGbk), std::string::npos) << c.name;
        EXPECT_EQ(result->body.find(jiang), std::string::npos) << c.name;
    }
}

TEST_F(SiteSimulatorTest, ServesIndexChapterAndDownloadPagesOfKnownBooksOnly) {
    EXPECT_NE(body("/bqg/1001/").find("<dd><a href=\"1.html\">"), std::string::npos);
    EXPECT_NE(body("/sg/1001/2.html").find("&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;"),
              std::string::npos);
    EXPECT_NE(body("/e8/1002/").find("<dd> <a style=\"\" href=\"1.html\">"), std::string::npos);
    EXPECT_NE(body("/1001/down").find(simulator.baseAddress() + "/xs/files/1001.txt"),
              std::string::npos);
    EXPECT_NE(body("/qishu/1001.html").find(simulator.baseAddress() + "/qishu/files/1001.txt"),
              std::string::npos);
    for (const char* missing :
         {"/bqg/9999/", "/sg/9999/1.html", "/9999/down", "/qishu/99999999999999.html", "/nowhere"})
        EXPECT_EQ(get(missing)->status, 404) << missing;
}

// Both the site server and the speech listener answer speech requests alike.
TEST_F(SiteSimulatorTest, SpeechAnswersMp3OrATextError) {
    const std::string appId = simulator.speechAppId;
    for (int port : {simulator.port(), simulator.speechPort()}) {
        httplib::Client client("127.0.0.1", port);
        client.set_connection_timeout(5);
        auto speak = [&](const std::string& id, const std::string& text) {
            return client.Get("/V2/Http.svc/Speak?language=zh-CN&appid=" + id + "&text=" + text +
                              "&format=audio/mp3&options=MaxQuality");
        };
        auto audio = speak(appId, "%E4%B8%AD%E6%96%87");
        ASSERT_TRUE(audio) << port;
        EXPECT_EQ(audio->status, 200);
        EXPECT_EQ(audio->get_header_value("Content-Type"), "audio/mpeg");
        EXPECT_GT(audio->body.size(), 0u);
        EXPECT_EQ(audio->body.size() % mp3FrameBytes, 0u);
        EXPECT_EQ(audio->body.substr(0, 2), "\xFF\xFB");

        const struct {
            std::string id;
            std::string text;
            std::string error;
        } refusals[] = {
            {"0000", "%41", "ArgumentException: Invalid appId"},
            {appId, "", "ArgumentException: Text is empty"},
        };
        for (const auto& r : refusals) {
            auto refused = speak(r.id, r.text);
            ASSERT_TRUE(refused) << r.error;
            EXPECT_EQ(refused->status, 400);
            EXPECT_EQ(refused->get_header_value("Content-Type"), "text/plain");
            EXPECT_EQ(refused->body, r.error);
        }
    }
}

// A whole chapter escaped into the query: far beyond the site server's request
// line, within the speech listener's.
TEST_F(SiteSimulatorTest, SpeechListenerTakesAChapterInTheRequestLine) {
    std::string escaped;
    for (int i = 0; i < 5000; ++i)
        escaped += "%E4%B8%AD";
    const std::string target = "/V2/Http.svc/Speak?language=zh-CN&appid=" + simulator.speechAppId +
                               "&text=" + escaped + "&format=audio/mp3&options=MaxQuality";
    simulator.clearRequests();
    httplib::Client client("127.0.0.1", simulator.speechPort());
    auto audio = client.Get(target);
    ASSERT_TRUE(audio);
    EXPECT_EQ(audio->status, 200);
    EXPECT_EQ(audio->get_header_value("Content-Type"), "audio/mpeg");
    EXPECT_EQ(audio->body.substr(0, 2), "\xFF\xFB");
    EXPECT_EQ(audio->body.size() % mp3FrameBytes, 0u);
    EXPECT_EQ(simulator.requests(), std::vector<std::string>{target});
}

TEST_F(SiteSimulatorTest, SpeechListenerServesOnlyTheSpeechRoute) {
    httplib::Client client("127.0.0.1", simulator.speechPort());
    for (const char* elsewhere : {"/bqg/1001/", "/V2/Http.svc/Speak/more", "/"}) {
        auto result = client.Get(elsewhere);
        ASSERT_TRUE(result) << elsewhere;
        EXPECT_EQ(result->status, 404) << elsewhere;
    }
    auto posted = client.Post("/V2/Http.svc/Speak?language=zh-CN", "", "text/plain");
    ASSERT_TRUE(posted);
    EXPECT_EQ(posted->status, 405);
}

TEST_F(SiteSimulatorTest, RecordsRequestTargetsAsSent) {
    simulator.clearRequests();
    get("/search.asp?word=%D6%D0&m=0&s=0&x=20&y=4");
    get("/bqg/1001/1.html");
    EXPECT_EQ(
        simulator.requests(),
        (std::vector<std::string>{"/search.asp?word=%D6%D0&m=0&s=0&x=20&y=4", "/bqg/1001/1.html"}));
}

TEST_F(SiteSimulatorTest, ConfigPointsEverySiteHere) {
    SiteConfig config = simulator.siteConfig();
    EXPECT_EQ(config.biquge, simulator.baseAddress());
    EXPECT_EQ(config.qishu, simulator.baseAddress());
    EXPECT_EQ(config.speechBase, simulator.speechBaseAddress());
    EXPECT_NE(simulator.speechPort(), simulator.port());
    EXPECT_EQ(config.e8SiteId, simulator.e8SiteId);
}

TEST(SiteSimulator, StopsServingAndTwoRunSideBySide) {
    SiteSimulator first;
    SiteSimulator second;
    ASSERT_TRUE(first.start());
    ASSERT_TRUE(second.start());
    EXPECT_NE(first.port(), second.port());
    EXPECT_FALSE(first.start()) << "already running";
    SiteSimulator third;
    EXPECT_FALSE(third.start(second.port())) << "port taken";
    EXPECT_FALSE(third.start(0, second.speechPort())) << "speech port taken";
    EXPECT_TRUE(third.start()) << "a refused start leaves nothing half open";
    int port = first.port();
    first.stop();
    first.stop();
    httplib::Client client("127.0.0.1", port);
    client.set_connection_timeout(2);
    EXPECT_FALSE(client.Get("/bqg/1001/"));
    httplib::Client speech("127.0.0.1", first.speechPort());
    speech.set_connection_timeout(2);
    EXPECT_FALSE(speech.Get("/V2/Http.svc/Speak"));
    httplib::Client other("127.0.0.1", second.port());
    EXPECT_TRUE(other.Get("/bqg/1001/"));
}

} // namespace
} // namespace mz::sim
