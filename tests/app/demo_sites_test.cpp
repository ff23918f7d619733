// The demo mode: the simulator, the throw-away data directory, and the program
// started with --demo.

#include "app/demo_sites.h"
#include "app/online_window_fixture.h"
#include "app/signal_handler_probe.h"
#include "net/http_request.h"
#include "sites/novel_search.h"
#include "sites/site_page.h"
#include "speech/speech_cache.h"
#include "support/corpus.h"
#include "text/url_encoding.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>

#include <csignal>

namespace mz::test {
namespace {

TEST(DemoSites, PointsTheDataDirectoryAtALiveSimulatorAndRemovesIt) {
    QString directory;
    SiteConfig config;
    {
        DemoSites demo;
        ASSERT_TRUE(demo.start({})) << demo.error().toStdString();
        directory = demo.dataDirectory();
        config = SiteConfig::load(QFile::encodeName(directory + "/sites.ini").toStdString());
        SiteConfig expected = SiteConfig::allAt(demo.baseAddress());
        expected.speechBase = config.speechBase; // a listener of its own
        EXPECT_EQ(config, expected);
        EXPECT_NE(config.speechBase, demo.baseAddress());
        EXPECT_EQ(demo.corpusBooks(), 0);

        PatternObject pattern;
        const auto rows = takeSearchResults(
            NovelSite::Sogou, fetchSitePage(novelSearchRequest(NovelSite::Sogou, config, "%D3%EA")),
            pattern);
        ASSERT_EQ(rows.size(), 2u) << "the sample books are served";
        EXPECT_EQ(rows[0].title, gbk("江湖夜雨"));
    }
    EXPECT_FALSE(QDir(directory).exists());
    EXPECT_TRUE(fetchSitePage({config.biquge + "/bqg/1001/"}).empty()) << "the simulator ended";
}

// The request of a whole chapter is tens of kilobytes long: the demo's speech
// service answers it with audio, and still refuses a wrong application id.
TEST(DemoSites, SpeechServiceAnswersAChapterLongRequest) {
    DemoSites demo;
    ASSERT_TRUE(demo.start({})) << demo.error().toStdString();
    const SiteConfig config =
        SiteConfig::load(QFile::encodeName(demo.dataDirectory() + "/sites.ini").toStdString());
    Text chapter;
    for (int i = 0; i < 2500; ++i)
        chapter += gbk("雨夜");
    auto speak = [&](const Text& appId) {
        return httpRequestEx(config.speechBase + "/V2/Http.svc/Speak?language=zh-CN&appid=" +
                             appId + "&text=" + percentEncode(chapter, false, true) +
                             "&format=audio/mp3&options=MaxQuality");
    };
    EXPECT_TRUE(isAudioData(speak(config.speechAppId)));
    EXPECT_EQ(speak(std::string(40, '0')), "ArgumentException: Invalid appId");
}

TEST(DemoSites, ServesTheCorpusNovelsWhenTheFolderExists) {
    MZ_REQUIRE_CORPUS();
    DemoSites demo;
    ASSERT_TRUE(demo.start(corpusDir())) << demo.error().toStdString();
    EXPECT_GT(demo.corpusBooks(), 0);
}

// The launcher's demo: the window opens on the throw-away directory, which is
// gone once the program has ended.
TEST(DemoMode, RunsTheProgramOnAThrowAwayDirectory) {
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("MOZHOU_CORPUS_DIR", "/nonexistent"); // the samples alone: quick
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(MOZHOU_EXECUTABLE), {"--demo"});
    ASSERT_TRUE(program.waitForStarted(10000));
    QString out;
    const QRegularExpression directoryLine(QStringLiteral("data directory (\\S+), removed"));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            program.waitForReadyRead(50);
            out += QString::fromLocal8Bit(program.readAllStandardOutput());
            return directoryLine.match(out).hasMatch();
        },
        20000))
        << out.toStdString() << program.readAllStandardError().toStdString();
    EXPECT_TRUE(out.startsWith("demo: sites played at http://127.0.0.1:")) << out.toStdString();
    const QString directory = directoryLine.match(out).captured(1);
    EXPECT_TRUE(QFile::exists(directory + "/sites.ini"));

    ASSERT_TRUE(
        QTest::qWaitFor([&] { return catchesSignal(program.processId(), SIGTERM); }, 20000));
    ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
    ASSERT_TRUE(program.waitForFinished(20000));
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_FALSE(QDir(directory).exists());
}

} // namespace
} // namespace mz::test
