// Reading aloud against the site simulator's speech endpoint on 127.0.0.1:
// the request sent, the cache file kept and the commands the player receives.

#include "speech/speech_service.h"

#include "speech/offline_speech.h"
#include "speech/recording_audio_player.h"
#include "speech/speech_cache.h"
#include "wave_fixture.h"

#include "support/simulator_suite.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <httplib.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace mz {
namespace {

const Text zhongWen = "\xD6\xD0\xCE\xC4"; // 中文 in GBK
const Text fullWidthSpace = "\xA1\xA1";

std::string readAll(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<unreadable>";
    return file.readAll().toStdString();
}

// The alias inside a recorded command: what follows its last space.
Text aliasOf(const Text& command) {
    return command.substr(command.rfind(' ') + 1);
}

class SpeechServiceTest : public test::SimulatorSuite {
  protected:
    void SetUp() override {
        SimulatorSuite::SetUp();
        ASSERT_TRUE(dir.isValid());
    }

    SpeechService service(const Text& base, const Text& appId) {
        return SpeechService(base, appId, dir.path() + "/", player);
    }
    SpeechService onSimulator() {
        return service(simulator->siteConfig().speechBase, simulator->speechAppId);
    }
    QStringList cacheFiles() const { return QDir(dir.path()).entryList(QDir::Files); }
    std::vector<std::string> requests() const { return simulator->requests(); }
    QTemporaryDir dir;
    RecordingAudioPlayer player;
};

TEST_F(SpeechServiceTest, SendsTheWholeTextAsEscapedUtf8) {
    const struct {
        const char* name;
        Text text;
        std::string encoded;
    } cases[] = {
        {"Chinese", zhongWen, "%E4%B8%AD%E6%96%87"},
        {"letters and digits are escaped too", "Ab9", "%41%62%39"},
        {"inner spaces of both widths", "a " + fullWidthSpace + "b", "%61%20%E3%80%80%62"},
        {"untrimmed", " " + zhongWen + " ", "%20%E4%B8%AD%E6%96%87%20"},
        {"line breaks", zhongWen + "\r\n" + zhongWen, "%E4%B8%AD%E6%96%87%0D%0A%E4%B8%AD%E6%96%87"},
        {"the initial star of the box", "*", "%2A"},
        {"tabs and line breaks only are not blank", "\t\r\n", "%09%0D%0A"},
    };
    for (const auto& c : cases) {
        simulator->clearRequests();
        SpeechService speech = onSimulator();
        speech.speakText(c.text);
        EXPECT_EQ(requests(), std::vector<std::string>{speakTarget(c.encoded)}) << c.name;
    }
    EXPECT_EQ(cacheFiles().size(), std::size(cases)) << "each text has its own cache file";
}

TEST_F(SpeechServiceTest, ChapterLengthTextIsSentInOneRequestAndPlayed) {
    // 5 000 characters with line breaks: a request line of about 45 000 bytes.
    Text chapter;
    std::string encoded;
    for (int i = 0; i < 1250; ++i) {
        chapter += zhongWen + zhongWen + "\r\n";
        encoded += "%E4%B8%AD%E6%96%87%E4%B8%AD%E6%96%87%0D%0A";
    }
    SpeechService speech = onSimulator();
    speech.speakText(chapter);
    EXPECT_EQ(requests(), std::vector<std::string>{speakTarget(encoded)});
    const QStringList files = cacheFiles();
    ASSERT_EQ(files.size(), 1);
    EXPECT_TRUE(isAudioData(readAll(dir.path() + "/" + files[0])));
    ASSERT_EQ(player.commands().size(), 3u);
    EXPECT_EQ(player.commands().back().substr(0, 5), "play ");
}

TEST_F(SpeechServiceTest, BlankTextsDoNothing) {
    SpeechService speech = onSimulator();
    for (const Text& blank : {Text(), Text(" "), fullWidthSpace, " " + fullWidthSpace + "  "}) {
        speech.speakText(blank);
        EXPECT_FALSE(speech.prepare(blank).has_value());
    }
    EXPECT_TRUE(requests().empty());
    EXPECT_TRUE(player.commands().empty());
    EXPECT_TRUE(cacheFiles().isEmpty());
}

TEST_F(SpeechServiceTest, TwoPressesFetchOnceAndPlayTwiceUnderFreshAliases) {
    SpeechService speech = onSimulator();
    speech.speakText(zhongWen);
    speech.speakText(zhongWen);
    EXPECT_EQ(requests().size(), 1u);

    const QString path = dir.path() + "/bcce109775e8e1972e9f5fcda3e12895.mp3";
    ASSERT_EQ(player.commands().size(), 6u);
    Text aliases[2];
    for (int press = 0; press < 2; ++press) {
        const Text alias = aliasOf(player.commands()[3 * press]);
        aliases[press] = alias;
        ASSERT_EQ(alias.size(), 20u);
        for (unsigned char byte : alias)
            EXPECT_TRUE(byte >= 0xB0 && byte <= 0xDA) << "a GB2312 character byte";
        const std::vector<Text> expected = {"close " + alias,
                                            "open \"" + path.toStdString() + "\" alias " + alias,
                                            "play " + alias};
        const std::vector<Text> sent(player.commands().begin() + 3 * press,
                                     player.commands().begin() + 3 * press + 3);
        EXPECT_EQ(sent, expected) << "press " << press + 1;
    }
    EXPECT_NE(aliases[0], aliases[1]) << "the second playback must not close the first";
    EXPECT_TRUE(isAudioData(readAll(path)));
}

TEST_F(SpeechServiceTest, CacheIsNamedByTheDigestOfTheUntrimmedGbkBytes) {
    SpeechService speech = onSimulator();
    speech.speakText(" " + zhongWen + " ");
    speech.speakText(zhongWen);
    EXPECT_EQ(cacheFiles(), (QStringList{"bcce109775e8e1972e9f5fcda3e12895.mp3",
                                         "bfa110db5d2732dee67e919e575420c9.mp3"}));
    EXPECT_EQ(requests().size(), 2u) << "a trimmed text is a different text";
}

TEST_F(SpeechServiceTest, ServiceErrorsAndFailedRequestsLeaveNoCacheFile) {
    sim::SiteSimulator stopped;
    ASSERT_TRUE(stopped.start());
    const Text closedPort = stopped.siteConfig().speechBase;
    stopped.stop();

    const struct {
        const char* name;
        Text base;
        Text appId;
        size_t requestsReceived;
    } cases[] = {
        {"text error for a bad application id", simulator->siteConfig().speechBase,
         std::string(40, 'F'), 2},
        {"closed port", closedPort, simulator->speechAppId, 0},
    };
    for (const auto& c : cases) {
        simulator->clearRequests();
        SpeechService speech = service(c.base, c.appId);
        speech.speakText(zhongWen);
        speech.speakText(zhongWen);
        EXPECT_TRUE(cacheFiles().isEmpty()) << c.name;
        EXPECT_TRUE(player.commands().empty()) << c.name << ": nothing to play";
        EXPECT_EQ(requests().size(), c.requestsReceived)
            << c.name << ": with no cache file the next press asks again";
    }
}

// A speech endpoint whose answer the test chooses.
class CannedSpeechServer {
  public:
    explicit CannedSpeechServer(std::string body) : body_(std::move(body)) {
        server_.Get("/V2/Http.svc/Speak", [this](const httplib::Request&, httplib::Response& res) {
            ++hits;
            res.set_content(body_, "text/html");
        });
        port_ = server_.bind_to_any_port("127.0.0.1");
        thread_ = std::thread([this] { server_.listen_after_bind(); });
        while (!server_.is_running())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ~CannedSpeechServer() {
        server_.stop();
        thread_.join();
    }
    Text base() const { return "http://127.0.0.1:" + std::to_string(port_); }

    std::atomic<int> hits{0};

  private:
    std::string body_;
    httplib::Server server_;
    std::thread thread_;
    int port_ = 0;
};

TEST_F(SpeechServiceTest, EmptyAndHtmlAnswersLeaveNoCacheFile) {
    for (const std::string body :
         {"", "<html><body><h1>503 Service Unavailable</h1></body></html>"}) {
        CannedSpeechServer server(body);
        SpeechService speech = service(server.base(), simulator->speechAppId);
        speech.speakText(zhongWen);
        speech.speakText(zhongWen);
        EXPECT_EQ(server.hits, 2) << "body \"" << body << "\"";
        EXPECT_TRUE(cacheFiles().isEmpty()) << "body \"" << body << "\"";
        EXPECT_TRUE(player.commands().empty());
    }
}

TEST_F(SpeechServiceTest, FileThatHoldsNoAudioIsFetchedAgainAndReplaced) {
    SpeechService speech = onSimulator();
    const QString path = dir.path() + "/bcce109775e8e1972e9f5fcda3e12895.mp3";
    ASSERT_TRUE(test::writeFile(path, ""));
    speech.speakText(zhongWen);
    EXPECT_EQ(requests().size(), 1u);
    EXPECT_TRUE(isAudioData(readAll(path)));
    EXPECT_EQ(player.commands().size(), 3u);
}

TEST_F(SpeechServiceTest, CachedAudioIsPlayedWithoutAsking) {
    SpeechService speech = service("http://127.0.0.1:1", simulator->speechAppId);
    ASSERT_TRUE(
        test::writeFile(dir.path() + "/bcce109775e8e1972e9f5fcda3e12895.mp3", test::silentWave()));
    speech.speakText(zhongWen);
    EXPECT_EQ(player.commands().size(), 3u);
    EXPECT_EQ(player.commands().back().substr(0, 5), "play ");
}

// Runs work on a thread of its own and done back on the user-interface thread,
// as the window's background task does.
struct ThreadRunner {
    void operator()(std::function<void()> work, std::function<void()> done) {
        ++runs;
        std::thread([this, work = std::move(work), done = std::move(done)] {
            workThread = QThread::currentThread();
            work();
            QMetaObject::invokeMethod(qApp, done, Qt::QueuedConnection);
        }).detach();
    }
    int runs = 0;
    std::atomic<QThread*> workThread{nullptr};
};

bool waitFor(const std::function<bool()>& condition) {
    QDeadlineTimer deadline(10000);
    while (!condition() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return condition();
}

TEST_F(SpeechServiceTest, InTheBackgroundTheFetchRunsOffThreadAndPlayComesBack) {
    SpeechService speech = onSimulator();
    ThreadRunner runner;
    speech.speakText(zhongWen, std::ref(runner));
    EXPECT_TRUE(player.commands().empty()) << "the press returns before the audio arrives";
    ASSERT_TRUE(waitFor([&] { return player.commands().size() == 3; }));
    EXPECT_NE(runner.workThread.load(), QThread::currentThread());
    EXPECT_EQ(requests().size(), 1u);

    speech.speakText(zhongWen, std::ref(runner));
    EXPECT_EQ(runner.runs, 1) << "a cached text plays at once";
    EXPECT_EQ(player.commands().size(), 6u);
}

TEST_F(SpeechServiceTest, InTheBackgroundPlayWaitsForDone) {
    SpeechService speech = onSimulator();
    std::function<void()> work;
    std::function<void()> done;
    speech.speakText(zhongWen, [&](auto w, auto d) {
        work = std::move(w);
        done = std::move(d);
    });
    ASSERT_TRUE(work && done);
    EXPECT_TRUE(requests().empty()) << "nothing is fetched on the calling thread";
    std::thread(work).join();
    EXPECT_EQ(requests().size(), 1u);
    EXPECT_TRUE(player.commands().empty()) << "play is left to done";
    done();
    EXPECT_EQ(player.commands().size(), 3u);
}

TEST_F(SpeechServiceTest, WithoutAServiceSpeechIsMadeOnThisMachine) {
    if (!offlineSpeechAvailable())
        GTEST_SKIP() << "espeak-ng or its Mandarin voice data (espeak-ng-data) is missing";
    SpeechService speech = service("", simulator->speechAppId);
    EXPECT_TRUE(speech.isOffline());
    speech.speakText(zhongWen);
    EXPECT_EQ(cacheFiles(), QStringList{"bcce109775e8e1972e9f5fcda3e12895.wav"});
    const std::string wave = readAll(dir.path() + "/bcce109775e8e1972e9f5fcda3e12895.wav");
    EXPECT_GT(wave.size(), 44u) << "more than a header";
    EXPECT_EQ(wave.substr(0, 4), "RIFF");
    EXPECT_EQ(player.commands().size(), 3u);
    EXPECT_EQ(player.commands().back().substr(0, 5), "play ");
    EXPECT_TRUE(requests().empty());
}

} // namespace
} // namespace mz
