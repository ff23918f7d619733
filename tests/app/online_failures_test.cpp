// Sites that are down or hostile: the pages end as "nothing found" and the
// window keeps answering meanwhile.

#include "app/online_window_fixture.h"

#include <httplib.h>

#include <QElapsedTimer>
#include <QTimer>

#include <chrono>
#include <thread>

namespace mz::test {
namespace {

using OnlineFailureTest = OnlineWindowTest;

// Every site at a port where nothing listens any more.
SiteConfig sitesThatAreDown() {
    sim::SiteSimulator gone;
    EXPECT_TRUE(gone.start());
    SiteConfig config = gone.siteConfig();
    gone.stop();
    return config;
}

TEST_F(OnlineFailureTest, ASiteThatIsDownEmptiesTheListsAndCountsZero) {
    sites = sitesThatAreDown();
    bool readerRan = false;
    onReader = [&](ReaderWindow& reader) {
        readerRan = true;
        reader.超级列表章节->appendRows({{"1.html", "old"}});
        loadChapters(reader);
        EXPECT_EQ(reader.超级列表章节->rowCount(), 0);
        EXPECT_EQ(reader.windowTitle(), "阅读----共获取取：0章");
    };
    MainWindow& main = open();
    for (int site : {0, 1, 2}) {
        SCOPED_TRACE(site);
        main.超级列表框2->appendRows({{"/bqg/1001/", "x", "y"}});
        searchNovels(site, "雨");
        EXPECT_EQ(main.超级列表框2->rowCount(), 0);
        EXPECT_EQ(main.windowTitle(), "墨舟----共获取到：0条有关于雨");
    }
    main.超级列表框2->appendRows({{"/bqg/1001/", "x", "y"}});
    clickRow(*main.超级列表框2, 0);
    EXPECT_TRUE(readerRan);

    for (int site : {0, 1}) {
        SCOPED_TRACE(site);
        main.超级列表框3->appendRows({{"/xs/book.php?id=1001", "x"}});
        searchDownloads(site, "雨");
        EXPECT_EQ(main.超级列表框3->rowCount(), 0);
        EXPECT_EQ(main.windowTitle(), "墨舟----共获取到：0条有关于雨");
        main.超级列表框3->appendRows({{"/xs/book.php?id=1001", "x"}});
        main.超级列表框4->appendRows({{"http://old/", "x"}});
        clickAndSettle(*main.超级列表框3, 0);
        EXPECT_EQ(main.超级列表框4->rowCount(), 0);
    }
    EXPECT_TRUE(messages.messages.isEmpty()) << "a failed fetch shows no message";
}

// Serves one page for every address, on a thread of its own.
class OnePageServer {
  public:
    explicit OnePageServer(std::string page) : page_(std::move(page)) {
        server_.Get(".*", [this](const httplib::Request&, httplib::Response& response) {
            response.set_content(page_, "text/html; charset=gbk");
        });
        port_ = server_.bind_to_any_port("127.0.0.1");
        thread_ = std::thread([this] { server_.listen_after_bind(); });
        // stop() only reaches a server that is already running.
        while (!server_.is_running())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ~OnePageServer() {
        server_.stop();
        thread_.join();
    }
    Text base() const { return "http://127.0.0.1:" + std::to_string(port_); }

  private:
    std::string page_;
    httplib::Server server_;
    int port_ = 0;
    std::thread thread_;
};

// One 10 MB line of result openings that never close: each lazy group of the
// 搜狗小说网 pattern runs to the end of the line from every start.
std::string hostilePage() {
    const std::string opening =
        "<div class=\"bookbox\"><div class=\"p10\"><div class=\"bookimg\"><a href=\"a\"><img "
        "src=\"b\"></a></div><div class=\"bookinfo\"><h4 class=\"bookname\"><a href=\"c\">";
    std::string line;
    line.reserve(10 * 1024 * 1024 + opening.size());
    while (line.size() < 10 * 1024 * 1024)
        line += opening;
    return line;
}

TEST_F(OnlineFailureTest, AHostilePageEndsAsNothingFoundWhileTheWindowAnswers) {
    OnePageServer hostile(hostilePage());
    sites = SiteConfig::allAt(hostile.base());
    MainWindow& main = open();
    main.超级列表框2->appendRows({{"/sg/1001/", "x", "y"}});

    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(10);
    QElapsedTimer clock;
    clock.start();
    searchNovels(1, "雨");
    const qint64 elapsed = clock.elapsed();
    ticker.stop();

    EXPECT_EQ(main.超级列表框2->rowCount(), 0);
    EXPECT_EQ(main.windowTitle(), "墨舟----共获取到：0条有关于雨");
    EXPECT_EQ(state.searchPage.size(), hostilePage().size()) << "the whole page arrived";
    // The timer kept ticking all along: the pattern pass held no window event.
    EXPECT_GE(ticks, elapsed / 10 / 4) << elapsed << " ms";
    std::printf("hostile page: %lld ms, %d ticks\n", static_cast<long long>(elapsed), ticks);
}

} // namespace
} // namespace mz::test
