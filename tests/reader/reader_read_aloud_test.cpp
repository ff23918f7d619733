// "朗读" in the real reader window, against the site simulator's speech endpoint.

#include "app/book_hand_over.h"
#include "app/program_state.h"
#include "app/report_list.h"
#include "app/window_test_support.h"
#include "reader/chapter_sources.h"
#include "reader/reader_window.h"
#include "speech/recording_audio_player.h"
#include "speech/speech_service.h"
#include "text/code_page.h"
#include "text/qt_text.h"

#include "support/simulator_suite.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace mz {
namespace {

class NoBookHandOver : public BookHandOver {
  public:
    Text bookSource() const override { return {}; }
    Text bookAddress() const override { return {}; }
    ReportList& shelfList() override { return shelf; }
    ReportList& resultList() override { return results; }

    ReportList shelf{QStringLiteral("超级列表框1"), {{QStringLiteral("地址"), 0}}, nullptr};
    ReportList results{QStringLiteral("超级列表框2"), {{QStringLiteral("地址"), 0}}, nullptr};
};

class ReaderReadAloudTest : public test::SimulatorSuite {
  protected:
    void SetUp() override {
        SimulatorSuite::SetUp();
        ASSERT_TRUE(cache.isValid());
        reader.setSpeech(&speech);
    }

    void press() { QTest::mouseClick(reader.按钮4, Qt::LeftButton); }
    bool waitForCommands(size_t count) {
        QDeadlineTimer deadline(10000);
        while (player.commands().size() < count && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        return player.commands().size() == count;
    }

    QTemporaryDir cache;
    RecordingAudioPlayer player;
    SpeechService speech{simulator->siteConfig().speechBase, simulator->speechAppId,
                         cache.path() + "/", player};
    ProgramState state;
    ChapterSources sources;
    test::RecordingMessageSink messages;
    NoBookHandOver handOver;
    ReaderWindow reader{state, sources, messages, handOver};
};

TEST_F(ReaderReadAloudTest, SpeaksTheWholeBoxWithItsLineBreaksAsCrLf) {
    reader.编辑框_内容->setPlainText(toQString(utf8ToGbk("第一章\n正文")));
    press();
    EXPECT_TRUE(player.commands().empty()) << "the press returns before the audio arrives";
    ASSERT_TRUE(waitForCommands(3));
    EXPECT_EQ(simulator->requests(), std::vector<std::string>{speakTarget(
                                         "%E7%AC%AC%E4%B8%80%E7%AB%A0%0D%0A%E6%AD%A3%E6%96%87")});
    EXPECT_EQ(QDir(cache.path()).entryList(QDir::Files),
              QStringList{"a541148d9a397c1c87cd2ff6eb961d9e.mp3"});
    EXPECT_EQ(player.commands().back().substr(0, 5), "play ");

    press();
    EXPECT_EQ(player.commands().size(), 6u) << "the cached text plays at once";
    EXPECT_EQ(simulator->requests().size(), 1u);
}

TEST_F(ReaderReadAloudTest, TheInitialStarIsSpokenAndSpacesAreNot) {
    press();
    ASSERT_TRUE(waitForCommands(3));
    EXPECT_EQ(simulator->requests(), std::vector<std::string>{speakTarget("%2A")});

    reader.编辑框_内容->setPlainText(QStringLiteral("  \u3000 "));
    press();
    QCoreApplication::processEvents();
    EXPECT_EQ(simulator->requests().size(), 1u);
    EXPECT_EQ(player.commands().size(), 3u);
}

TEST_F(ReaderReadAloudTest, WithoutSpeechThePressDoesNothing) {
    reader.setSpeech(nullptr);
    press();
    QCoreApplication::processEvents();
    EXPECT_TRUE(simulator->requests().empty());
    EXPECT_TRUE(player.commands().empty());
}

} // namespace
} // namespace mz
