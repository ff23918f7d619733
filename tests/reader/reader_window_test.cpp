#include "app/book_hand_over.h"
#include "app/program_state.h"
#include "app/report_list.h"
#include "app/window_test_support.h"
#include "reader/chapter_sources.h"
#include "reader/reader_window.h"
#include "text/qt_text.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace mz {
namespace {

using test::RecordingMessageSink;

ReportList* makeList(const char* name, int columns) {
    std::initializer_list<std::pair<QString, int>> four = {
        {"地址", 0}, {"a", 9}, {"b", 9}, {"c", 9}};
    std::initializer_list<std::pair<QString, int>> six = {{"地址", 0}, {"a", 9}, {"b", 9},
                                                          {"c", 9},    {"d", 9}, {"e", 9}};
    return new ReportList(QString::fromUtf8(name), columns == 4 ? four : six, nullptr);
}

// The main window's side of the hand-over.
class FakeHandOver : public BookHandOver {
  public:
    Text code;
    Text address;
    std::unique_ptr<ReportList> shelf{makeList("超级列表框1", 4)};
    std::unique_ptr<ReportList> results{makeList("超级列表框2", 6)};

    Text bookSource() const override { return code; }
    Text bookAddress() const override { return address; }
    ReportList& shelfList() override { return *shelf; }
    ReportList& resultList() override { return *results; }
};

// Records what the window asks of it; fills the list with the rows it is given.
struct Calls {
    std::vector<std::string> log;
    std::vector<std::vector<Text>> rows;
    std::function<void()> pendingDone; // set when the load should finish later
    bool finishLater = false;
};

class RecordingSource : public ChapterSource {
  public:
    explicit RecordingSource(Calls& calls) : calls_(calls) {}

    void loadChapterList(const ReaderContext& context, std::function<void()> done) override {
        calls_.log.push_back("load " + context.bookSource + " " + context.handOver.bookAddress());
        context.reader.超级列表章节->clearRows();
        context.reader.超级列表章节->appendRows(calls_.rows);
        if (calls_.finishLater)
            calls_.pendingDone = std::move(done);
        else
            done();
    }

    void showChapter(const ReaderContext& context, int row) override {
        calls_.log.push_back("show " + context.bookSource + " " + std::to_string(row));
    }

  private:
    Calls& calls_;
};

class ReaderWindowTest : public testing::Test {
  protected:
    ProgramState state;
    ChapterSources sources;
    RecordingMessageSink messages;
    FakeHandOver handOver;
    Calls calls;

    void SetUp() override {
        for (const char* code : {"0", "1", "2", "3", "4", "5", "6"})
            sources.add(code,
                        [this](ReaderWindow&) { return std::make_unique<RecordingSource>(calls); });
    }

    std::unique_ptr<ReaderWindow> open() {
        auto window = std::make_unique<ReaderWindow>(state, sources, messages, handOver);
        window->closingWait = std::chrono::milliseconds(0);
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        return window;
    }

    static void fill(ReaderWindow& window, int rows) {
        std::vector<std::vector<Text>> cells;
        for (int i = 0; i < rows; ++i)
            cells.push_back({"/c" + std::to_string(i), "chapter " + std::to_string(i)});
        window.超级列表章节->appendRows(cells);
    }
};

TEST_F(ReaderWindowTest, ControlsAreCreatedInPlace) {
    ReaderWindow window(state, sources, messages, handOver);
    EXPECT_EQ(window.windowTitle(), "阅读");
    EXPECT_EQ(window.size(), QSize(876, 620));
    struct Control {
        QWidget* widget;
        QRect rect;
        const char* caption; // nullptr: not a button or label
    };
    const Control controls[] = {
        {window.按钮1, {4, 4, 44, 24}, "隐藏"},
        {window.组合框2, {55, 5, 81, 20}, nullptr},
        {window.按钮7, {144, 4, 77, 24}, "显示章节名"},
        {window.按钮2, {226, 4, 44, 24}, "字体"},
        {window.透明标签1, {274, 4, 64, 24}, "背景颜色："},
        {window.颜色选择器1, {328, 4, 53, 24}, ""},
        {window.组合框1, {388, 5, 64, 20}, nullptr},
        {window.按钮3, {457, 4, 68, 24}, "自动翻行"},
        {window.按钮4, {529, 4, 68, 24}, "朗读"},
        {window.透明标签2, {798, 4, 70, 24}, "状态显示"},
        {window.超级列表章节, {3, 31, 189, 555}, nullptr},
        {window.编辑框_内容, {199, 31, 664, 555}, nullptr},
        {window.按钮5, {689, 548, 68, 24}, "上一章"},
        {window.按钮6, {768, 548, 68, 24}, "下一章"},
        {window.标签_状态显示, {126, 148, 42, 24}, "标签_状态显示"},
        {window.编辑框2, {160, 32, 24, 16}, nullptr},
    };
    for (const Control& c : controls) {
        const std::string name = c.widget->objectName().toStdString();
        EXPECT_EQ(window.findChild<QWidget*>(c.widget->objectName()), c.widget) << name;
        EXPECT_EQ(c.widget->geometry(), c.rect) << name;
        if (auto* button = qobject_cast<QPushButton*>(c.widget)) {
            EXPECT_EQ(button->text(), QString::fromUtf8(c.caption)) << name;
        }
        if (auto* label = qobject_cast<QLabel*>(c.widget)) {
            EXPECT_EQ(label->text(), QString::fromUtf8(c.caption)) << name;
        }
    }
    EXPECT_TRUE(window.标签_状态显示->isHidden());
    EXPECT_TRUE(window.编辑框2->isHidden());
    EXPECT_EQ(window.编辑框_内容->toPlainText(), "*");
    EXPECT_EQ(window.超级列表章节->headerItem()->text(1), "章节名");
    EXPECT_TRUE(window.超级列表章节->isColumnHidden(0));
    EXPECT_EQ(window.组合框2->count(), 5);
    EXPECT_EQ(window.组合框2->itemText(2), "Unicode big endian");
    EXPECT_EQ(window.组合框2->itemText(4), "自动检测");
    EXPECT_EQ(window.组合框2->currentIndex(), 4) << "detection is chosen at first";
    EXPECT_EQ(window.组合框1->count(), 6);
    EXPECT_EQ(window.组合框1->itemText(5), "");
    EXPECT_EQ(window.组合框1->currentText(), "") << "no speed chosen at first";
    EXPECT_EQ(window.时钟1->interval(), 100);
    EXPECT_TRUE(window.时钟1->isActive());
    EXPECT_FALSE(window.时钟_翻行->isActive());
}

TEST_F(ReaderWindowTest, LayoutFollowsTheWindowSizeWithTheListShownOrHidden) {
    auto window = open();
    struct Case {
        QSize size;
        bool hideList;
    };
    for (const Case& c : {Case{{1000, 700}, false}, Case{{640, 480}, true}, Case{{900, 650}, false},
                          Case{{876, 620}, true}}) {
        SCOPED_TRACE(testing::Message()
                     << c.size.width() << "x" << c.size.height() << " hidden " << c.hideList);
        if ((window->按钮1->text() == "显示") != c.hideList)
            QTest::mouseClick(window->按钮1, Qt::LeftButton);
        window->resize(c.size);
        QCoreApplication::processEvents();
        const int w = c.size.width();
        const int h = c.size.height();
        EXPECT_EQ(window->按钮1->text(), c.hideList ? "显示" : "隐藏");
        EXPECT_EQ(window->超级列表章节->isVisible(), !c.hideList);
        EXPECT_EQ(window->透明标签2->pos(), QPoint(w - 70, 4));
        EXPECT_EQ(window->超级列表章节->geometry(), QRect(3, 31, 189, h - 68));
        EXPECT_EQ(window->编辑框_内容->geometry(),
                  c.hideList ? QRect(3, 31, w - 21, h - 68) : QRect(199, 31, w - 217, h - 68));
        EXPECT_EQ(window->按钮5->pos(), QPoint(w - 187, h - 72));
        EXPECT_EQ(window->按钮6->pos(), QPoint(w - 107, h - 72));
    }
}

TEST_F(ReaderWindowTest, ToggleMovesTheTextAtOnce) {
    auto window = open();
    window->resize(1000, 700);
    QCoreApplication::processEvents();
    QTest::mouseClick(window->按钮1, Qt::LeftButton);
    EXPECT_EQ(window->编辑框_内容->geometry(), QRect(3, 31, 979, 632));
    QTest::mouseClick(window->按钮1, Qt::LeftButton);
    EXPECT_EQ(window->编辑框_内容->geometry(), QRect(199, 31, 783, 632));
    EXPECT_TRUE(window->超级列表章节->isVisible());
}

struct StepCase {
    const char* name;
    int rows;
    int selected;       // -1: none
    int current;        // currentChapter before
    bool next;          // 下一章, else 上一章
    int expectSelected; // afterwards
    int expectCurrent;
    const char* message; // nullptr: none
};

class ReaderStep : public ReaderWindowTest, public testing::WithParamInterface<StepCase> {};

TEST_P(ReaderStep, StepsFromCurrentChapterOrSaysThereIsNone) {
    const StepCase& c = GetParam();
    handOver.code = "3";
    auto window = open();
    fill(*window, c.rows);
    window->超级列表章节->selectRow(c.selected);
    state.currentChapter = c.current;
    QTest::mouseClick(c.next ? window->按钮6 : window->按钮5, Qt::LeftButton);
    EXPECT_EQ(window->超级列表章节->selectedRow(), c.expectSelected);
    EXPECT_EQ(state.currentChapter, c.expectCurrent);
    if (c.message) {
        EXPECT_EQ(messages.messages, QStringList({QString::fromUtf8(c.message)}));
        EXPECT_TRUE(calls.log.empty());
    } else {
        EXPECT_TRUE(messages.messages.isEmpty());
        EXPECT_EQ(calls.log,
                  std::vector<std::string>({"show 3 " + std::to_string(c.expectSelected)}));
        EXPECT_EQ(window->windowTitle(), QStringLiteral("阅读----共获取取：%1章----chapter %2")
                                             .arg(c.rows)
                                             .arg(c.expectSelected));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReaderStep,
    testing::Values(StepCase{"NextFromMiddle", 5, 2, 2, true, 3, 3, nullptr},
                    StepCase{"PreviousFromMiddle", 5, 2, 2, false, 1, 1, nullptr},
                    StepCase{"NextOnLastRow", 5, 4, 4, true, 4, 4, "没有下一章啦"},
                    StepCase{"PreviousOnFirstRow", 5, 0, 0, false, 0, 0, "没有上一章啦"},
                    StepCase{"NextOnEmptyList", 0, -1, 3, true, -1, 3, "没有下一章啦"},
                    // The target comes from currentChapter, the test from the selection.
                    StepCase{"NextUsesCurrentChapterNotSelection", 5, 1, 3, true, 4, 4, nullptr},
                    StepCase{"NextWithoutSelectionInANewWindow", 5, -1, 2, true, 3, 3, nullptr},
                    StepCase{"PreviousWithoutSelectionAtStart", 5, -1, 0, false, -1, 0,
                             "没有上一章啦"},
                    StepCase{"NextBeyondAShorterList", 3, -1, 7, true, -1, 7, "没有下一章啦"},
                    StepCase{"PreviousWithoutSelection", 5, -1, 3, false, 2, 2, nullptr}),
    [](const testing::TestParamInfo<StepCase>& info) { return info.param.name; });

TEST_F(ReaderWindowTest, CurrentChapterOutlivesTheWindow) {
    handOver.code = "1";
    {
        auto first = open();
        fill(*first, 10);
        test::clickRow(*first->超级列表章节, 6);
        EXPECT_EQ(state.currentChapter, 6);
    }
    auto second = open();
    fill(*second, 10);
    QTest::mouseClick(second->按钮6, Qt::LeftButton);
    EXPECT_EQ(second->超级列表章节->selectedRow(), 7);
    EXPECT_EQ(state.currentChapter, 7);
}

TEST_F(ReaderWindowTest, HiddenListStillSteps) {
    handOver.code = "4";
    auto window = open();
    fill(*window, 3);
    QTest::mouseClick(window->按钮1, Qt::LeftButton);
    ASSERT_FALSE(window->超级列表章节->isVisible());
    QTest::mouseClick(window->按钮6, Qt::LeftButton);
    QTest::mouseClick(window->按钮6, Qt::LeftButton);
    EXPECT_EQ(state.currentChapter, 2);
    QTest::mouseClick(window->按钮5, Qt::LeftButton);
    EXPECT_EQ(state.currentChapter, 1);
}

TEST_F(ReaderWindowTest, ClickingARowShowsItAgainEachTime) {
    handOver.code = "6";
    auto window = open();
    fill(*window, 4);
    test::clickRow(*window->超级列表章节, 2);
    test::clickRow(*window->超级列表章节, 2);
    EXPECT_EQ(calls.log, std::vector<std::string>({"show 6 2", "show 6 2"}));
    EXPECT_EQ(window->windowTitle(), "阅读----共获取取：4章----chapter 2");
    EXPECT_EQ(state.currentChapter, 2);
}

TEST_F(ReaderWindowTest, LoadingAnOnlineListTitlesTheCountWhenDone) {
    handOver.code = "5";
    handOver.address = "https://e8.example/book/1/";
    calls.rows = {{"1.html", "第一章"}, {"2.html", "第二章"}, {"3.html", "第三章"}};
    calls.finishLater = true;
    auto window = open();
    QTest::mouseClick(window->按钮7, Qt::LeftButton);
    EXPECT_EQ(calls.log, std::vector<std::string>({"load 5 https://e8.example/book/1/"}));
    EXPECT_EQ(window->windowTitle(), "阅读") << "the list is not complete yet";
    ASSERT_TRUE(calls.pendingDone);
    calls.pendingDone();
    EXPECT_EQ(window->windowTitle(), "阅读----共获取取：3章");
    EXPECT_EQ(window->超级列表章节->selectedRow(), -1);
    EXPECT_EQ(window->编辑框_内容->toPlainText(), "*");

    calls.rows.pop_back(); // loading again replaces the list
    calls.finishLater = false;
    QTest::mouseClick(window->按钮7, Qt::LeftButton);
    EXPECT_EQ(window->windowTitle(), "阅读----共获取取：2章");
}

TEST_F(ReaderWindowTest, LocalListLeavesTheTitleAlone) {
    handOver.code = "0";
    calls.rows = {{"", "序"}, {"", "第一回"}};
    auto window = open();
    QTest::mouseClick(window->按钮7, Qt::LeftButton);
    EXPECT_EQ(calls.log, std::vector<std::string>({"load 0 "}));
    EXPECT_EQ(window->超级列表章节->rowCount(), 2);
    EXPECT_EQ(window->windowTitle(), "阅读");
}

TEST_F(ReaderWindowTest, CodeWithoutASourceAddsNothingButTitlesTheCount) {
    for (const char* code : {"7", "", "搜狗"}) {
        SCOPED_TRACE(code);
        handOver.code = fromQString(QString::fromUtf8(code));
        auto window = open();
        QTest::mouseClick(window->按钮7, Qt::LeftButton);
        EXPECT_EQ(window->windowTitle(), "阅读----共获取取：0章");
        fill(*window, 2);
        test::clickRow(*window->超级列表章节, 1);
        EXPECT_EQ(window->windowTitle(), "阅读----共获取取：2章----chapter 1");
    }
    EXPECT_TRUE(calls.log.empty());
}

TEST_F(ReaderWindowTest, EachWindowMakesItsOwnSourcePerCode) {
    int made = 0;
    sources.add("3", [&](ReaderWindow&) {
        ++made;
        return std::make_unique<RecordingSource>(calls);
    });
    handOver.code = "3";
    auto first = open();
    QTest::mouseClick(first->按钮7, Qt::LeftButton);
    QTest::mouseClick(first->按钮7, Qt::LeftButton);
    auto second = open();
    QTest::mouseClick(second->按钮7, Qt::LeftButton);
    EXPECT_EQ(made, 2);
}

TEST_F(ReaderWindowTest, StatusIsMirroredEveryTick) {
    auto window = open();
    fill(*window, 3);
    window->标签_状态显示->setText("已载入42%");
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->透明标签2->text() == "已载入42%"; }, 1000));
    EXPECT_EQ(window->编辑框2->text(), "3");
}

} // namespace
} // namespace mz
