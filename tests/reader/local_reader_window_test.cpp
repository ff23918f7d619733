#include "app/book_hand_over.h"
#include "app/program_state.h"
#include "app/report_list.h"
#include "app/window_test_support.h"
#include "reader/auto_scroller.h"
#include "reader/chapter_sources.h"
#include "reader/local_chapter_source.h"
#include "reader/reader_appearance.h"
#include "reader/reader_settings.h"
#include "reader/reader_window.h"
#include "text/qt_text.h"

#include "gbk.h"
#include "support/corpus.h"
#include "support/file_bytes.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace mz {
namespace {

using test::gbk;
using test::utf8;

// The main window's side of the hand-over: a bookshelf with the book's row selected.
class ShelfHandOver : public BookHandOver {
  public:
    ReportList shelf{QStringLiteral("超级列表框1"),
                     {{QStringLiteral("地址"), 0}, {QStringLiteral("标题"), 9}},
                     nullptr};
    ReportList results{QStringLiteral("超级列表框2"), {{QStringLiteral("地址"), 0}}, nullptr};

    Text bookSource() const override { return "0"; }
    Text bookAddress() const override { return shelf.cell(shelf.selectedRow(), 0); }
    ReportList& shelfList() override { return shelf; }
    ReportList& resultList() override { return results; }

    void shelve(const std::string& path) {
        shelf.clearRows();
        shelf.appendRows({{"other.txt", "x"}, {fromQString(QString::fromStdString(path)), "y"}});
        shelf.selectRow(1);
    }
};

class LocalReaderWindowTest : public testing::Test {
  protected:
    void SetUp() override {
        state.settingsPath = fromQString(dir.filePath(QStringLiteral("config.ini")));
        sources.add("0", [](ReaderWindow& r) { return std::make_unique<LocalChapterSource>(r); });
    }

    std::unique_ptr<ReaderWindow> open() {
        auto window = std::make_unique<ReaderWindow>(state, sources, messages, handOver);
        window->closingWait = std::chrono::milliseconds(0);
        window->show();
        return window;
    }

    std::string write(const std::string& name, const std::string& bytes) {
        return test::writeBytes(dir.filePath(QString::fromStdString(name)).toStdString(), bytes)
            .string();
    }

    // Presses "显示章节名" and waits until the load has ended one way or another.
    static void load(ReaderWindow& window) {
        window.按钮7->click();
        waitForLoad(window);
    }

    static void waitForLoad(ReaderWindow& window) {
        const auto* source = window.findChild<LocalChapterSource*>();
        QElapsedTimer clock;
        clock.start();
        do {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        } while (source && source->isLoading() && clock.elapsed() < 20000);
        ASSERT_FALSE(source && source->isLoading()) << "the load did not end";
    }

    static std::vector<std::string> rows(ReaderWindow& window) {
        std::vector<std::string> out;
        for (int r = 0; r < window.超级列表章节->rowCount(); ++r)
            out.push_back(utf8(window.超级列表章节->cell(r, 1)));
        return out;
    }

    static std::string shown(ReaderWindow& window) {
        return window.编辑框_内容->toPlainText().toStdString();
    }

    QTemporaryDir dir;
    ProgramState state;
    ChapterSources sources;
    test::RecordingMessageSink messages;
    ShelfHandOver handOver;
};

const std::string book = "书名\r\n序\r\n第一回 甲\r\n正文一\r\n第二回 乙\r\n正文二\r\n";

TEST_F(LocalReaderWindowTest, LoadsListsAndShowsTheOpeningRow) {
    handOver.shelve(write("book.txt", gbk(book)));
    auto window = open();
    window->组合框2->setCurrentIndex(0); // ANSI
    load(*window);
    EXPECT_EQ(window->标签_状态显示->text(), QStringLiteral("载入完成"));
    EXPECT_EQ(rows(*window), (std::vector<std::string>{"书名\r", "第一回 甲\r", "第二回 乙\r"}));
    EXPECT_EQ(window->超级列表章节->selectedRow(), 0);
    EXPECT_EQ(shown(*window), "书名\n序\n");
    EXPECT_EQ(window->windowTitle(), QStringLiteral("阅读")) << "the local load leaves the title";
    EXPECT_EQ(handOver.shelf.selectedRow(), 1);
    EXPECT_EQ(state.bookText, gbk(book).substr(0, gbk(book).size()));

    test::clickRow(*window->超级列表章节, 2);
    EXPECT_EQ(shown(*window), "第二回 乙\n正文二\n");
    EXPECT_EQ(state.currentChapter, 2);
    window->按钮5->click(); // 上一章
    EXPECT_EQ(shown(*window), "第一回 甲\n正文一\n");
}

TEST_F(LocalReaderWindowTest, EncodingIsTheChoiceWhenTheLoadCompletes) {
    const struct {
        std::string bytes;
        int choice;
    } cases[] = {
        {book, 3},                  // UTF-8
        {"\xEF\xBB\xBF" + book, 4}, // detected, the mark consumed
        {gbk(book), 4},             // detected GBK
    };
    for (const auto& c : cases) {
        handOver.shelve(write("book.txt", c.bytes));
        auto window = open();
        window->组合框2->setCurrentIndex(c.choice);
        load(*window);
        EXPECT_EQ(rows(*window), (std::vector<std::string>{"书名\r", "第一回 甲\r", "第二回 乙\r"}))
            << c.choice;
    }
}

TEST_F(LocalReaderWindowTest, NothingHappensForAMissingOrNonTextFile) {
    auto window = open();
    window->超级列表章节->appendRows({{"", "kept"}});
    for (const std::string& path :
         {dir.filePath(QStringLiteral("absent.txt")).toStdString(), write("book.doc", gbk(book))}) {
        handOver.shelve(path);
        load(*window);
        EXPECT_EQ(rows(*window), std::vector<std::string>{"kept"}) << path;
        EXPECT_EQ(window->标签_状态显示->text(), QStringLiteral("标签_状态显示"));
    }
}

TEST_F(LocalReaderWindowTest, TextEndingInAnEarlierPieceKeepsTheListAndTheProgress) {
    std::string bytes = gbk(book) + std::string(250000 - gbk(book).size(), 'a');
    bytes[150000] = '\x1A';
    handOver.shelve(write("book.txt", bytes));
    auto window = open();
    window->超级列表章节->appendRows({{"", "kept"}});
    window->组合框2->setCurrentIndex(0);
    load(*window);
    EXPECT_EQ(window->标签_状态显示->text(), QStringLiteral("已载入80%"));
    EXPECT_EQ(rows(*window), std::vector<std::string>{"kept"});
}

TEST_F(LocalReaderWindowTest, EmptyFileLoadsAsAnEmptyBook) {
    handOver.shelve(write("empty.txt", ""));
    auto window = open();
    load(*window);
    EXPECT_EQ(window->标签_状态显示->text(), QStringLiteral("载入完成"));
    EXPECT_EQ(rows(*window), std::vector<std::string>{""});
    EXPECT_EQ(shown(*window), "") << "not the text shown before";
}

TEST_F(LocalReaderWindowTest, SecondPressWhileLoadingIsRefused) {
    std::string bytes = gbk(book);
    for (int i = 0; i < 2000; ++i)
        bytes += gbk("第" + std::to_string(i + 3) + "回 续\r\n") + std::string(2000, 'x') + "\r\n";
    handOver.shelve(write("big.txt", bytes));
    auto window = open();
    window->按钮7->click();
    window->按钮7->click();
    waitForLoad(*window);
    EXPECT_EQ(window->超级列表章节->rowCount(), 2003);
}

TEST_F(LocalReaderWindowTest, AutoScrollMovesOnToTheNextChapter) {
    handOver.shelve(write("book.txt", gbk(book)));
    auto window = open();
    load(*window);
    window->组合框1->setCurrentIndex(4); // 快
    window->按钮3->click();
    EXPECT_EQ(window->按钮3->text(), QStringLiteral("停止翻行"));
    EXPECT_FALSE(window->组合框1->isEnabled());
    for (int tick = 0; tick < 2; ++tick)
        window->findChild<AutoScroller*>()->tick();
    EXPECT_EQ(window->超级列表章节->selectedRow(), 1);
    EXPECT_EQ(shown(*window), "第一回 甲\n正文一\n");
    for (int tick = 0; tick < 4; ++tick)
        window->findChild<AutoScroller*>()->tick();
    EXPECT_EQ(shown(*window), "") << "the last chapter is used up";
    EXPECT_EQ(messages.messages, QStringList{QStringLiteral("没有下一章啦")});
    window->findChild<AutoScroller*>()->tick();
    EXPECT_EQ(window->按钮3->text(), QStringLiteral("自动翻行")) << "an empty box stops it";
    EXPECT_TRUE(window->组合框1->isEnabled());
    EXPECT_EQ(messages.messages.size(), 1);
}

TEST_F(LocalReaderWindowTest, BackgroundPickedInOneWindowIsKeptForTheNext) {
    {
        auto window = open();
        window->findChild<ReaderAppearance*>()->setPickerColor(QColor(1, 2, 3));
    }
    EXPECT_EQ(readReaderSettings(toQString(state.settingsPath)).backgroundColor,
              toWindowsColor(QColor(1, 2, 3)));
    auto next = open();
    EXPECT_EQ(next->编辑框_内容->palette().color(QPalette::Base), QColor(1, 2, 3));
}

TEST_F(LocalReaderWindowTest, RealNovelOpensAtItsFirstChapter) {
    MZ_REQUIRE_CORPUS();
    handOver.shelve((test::corpusDir() / "derived/hongloumeng.utf16le.txt").string());
    auto window = open();
    load(*window);
    ASSERT_GE(window->超级列表章节->rowCount(), 121);
    EXPECT_EQ(rows(*window)[1].rfind("第一回", 0), 0u);
    test::clickRow(*window->超级列表章节, 1);
    EXPECT_EQ(shown(*window).rfind("第一回", 0), 0u);
}

} // namespace
} // namespace mz
