#include "app/close_all_windows.h"
#include "app/data_directory.h"
#include "app/import_window.h"
#include "app/main_window.h"
#include "app/program_state.h"
#include "app/tab_control.h"
#include "app/window_test_support.h"
#include "reader/chapter_sources.h"
#include "reader/reader_window.h"
#include "text/qt_text.h"

#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace mz {
namespace {

using test::RecordingMessageSink;

Text gbk(const char* utf8) {
    return fromQString(QString::fromUtf8(utf8));
}

class MainWindowTest : public testing::Test {
  protected:
    QTemporaryDir dir;
    ProgramState state;
    ChapterSources sources;
    RecordingMessageSink messages;
    QStringList opened; // class names of the modal windows run, in order
    std::function<void(QDialog&)> onModal = [](QDialog&) {};
    std::unique_ptr<MainWindow> window;

    QString shelfPath() const { return dir.filePath(QStringLiteral("配置.txt")); }

    void writeShelf(const Bytes& bytes) {
        QFile file(shelfPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    }

    Bytes shelfBytes() const {
        QFile file(shelfPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : "<missing>";
    }

    MainWindow& open(const QString& dataDir = QString()) {
        WindowServices services{state, sources, messages, [this](QDialog& modal) {
                                    opened << modal.metaObject()->className();
                                    onModal(modal);
                                }};
        window = std::make_unique<MainWindow>(
            services, DataDirectory::resolve(dataDir.isEmpty() ? dir.path() : dataDir, QString()));
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        return *window;
    }

    ReportList& shelf() { return *window->超级列表框1; }

    void rightClickRow(ReportList& list, int row) {
        const QPoint point = test::rowPoint(list, row);
        QTest::mousePress(list.viewport(), Qt::RightButton, Qt::NoModifier, point);
        QTest::mouseRelease(list.viewport(), Qt::RightButton, Qt::NoModifier, point);
        QContextMenuEvent event(QContextMenuEvent::Mouse, point,
                                list.viewport()->mapToGlobal(point));
        QApplication::sendEvent(list.viewport(), &event);
    }
};

struct Placement {
    const char* name;
    QRect rect;
    bool hidden;
};

TEST_F(MainWindowTest, EveryControlSitsAtItsPlace) {
    MainWindow& main = open();
    EXPECT_EQ(main.windowTitle(), QStringLiteral("墨舟"));
    const Placement placements[] = {
        {"高级选择夹1", {0, 0, 440, 560}, false},    {"编辑框模式", {256, 2, 80, 20}, true},
        {"标签_热键反馈", {528, 248, 40, 16}, true}, {"超级列表框1", {4, 64, 432, 492}, false},
        {"本地导入", {356, 28, 80, 32}, false},      {"编辑框3", {288, 30, 40, 24}, true},
        {"组合框1", {10, 31, 98, 20}, false},        {"编辑框_搜索", {114, 31, 254, 20}, false},
        {"按钮1", {376, 30, 56, 24}, false},         {"超级列表框2", {8, 55, 424, 501}, false},
        {"编辑框1", {304, 222, 80, 20}, true},       {"透明标签1", {10, 30, 99, 24}, false},
        {"透明标签2", {144, 34, 32, 16}, false},     {"组合框2", {176, 32, 104, 20}, false},
        {"编辑框2", {282, 30, 80, 24}, false},       {"下载搜索", {368, 31, 64, 24}, false},
        {"超级列表框3", {8, 59, 424, 256}, false},   {"超级列表框4", {8, 320, 424, 224}, false},
        {"编辑框4", {344, 286, 80, 20}, true},
    };
    for (const Placement& p : placements) {
        SCOPED_TRACE(p.name);
        auto* control = main.findChild<QWidget*>(QString::fromUtf8(p.name));
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(QRect(control->mapTo(&main, QPoint(0, 0)), control->size()), p.rect);
        EXPECT_EQ(control->isHidden(), p.hidden);
    }
}

TEST_F(MainWindowTest, PagesListsAndMenusAreAsDesigned) {
    MainWindow& main = open();
    TabControl* tabs = main.高级选择夹1;
    ASSERT_EQ(tabs->count(), 3);
    EXPECT_EQ(tabs->tabText(0), "首页");
    EXPECT_EQ(tabs->tabText(1), "小说搜索");
    EXPECT_EQ(tabs->tabText(2), "下载");
    // Each control lies on its own page.
    EXPECT_TRUE(tabs->page(0)->isAncestorOf(main.超级列表框1));
    EXPECT_TRUE(tabs->page(1)->isAncestorOf(main.超级列表框2));
    EXPECT_TRUE(tabs->page(2)->isAncestorOf(main.超级列表框4));

    struct Columns {
        ReportList* list;
        QStringList headers;
        QList<int> widths; // 0: hidden, yet holding data
    };
    const Columns lists[] = {
        {main.超级列表框1, {"地址", "标题", "作者", "来源"}, {0, 150, 60, 200}},
        {main.超级列表框2,
         {"地址", "类型", "书名", "作者", "最新章节", "更新时间"},
         {0, 60, 150, 60, 100, 100}},
        {main.超级列表框3, {"地址", "标题"}, {50, 160}},
        {main.超级列表框4, {"地址", "模式"}, {50, 300}},
    };
    for (const Columns& c : lists) {
        SCOPED_TRACE(c.list->objectName().toStdString());
        ASSERT_EQ(c.list->columnCount(), c.headers.size());
        for (int i = 0; i < c.headers.size(); ++i) {
            EXPECT_EQ(c.list->headerItem()->text(i), c.headers[i]);
            EXPECT_EQ(c.list->isColumnHidden(i), c.widths[i] == 0);
            if (c.widths[i] != 0) {
                EXPECT_EQ(c.list->columnWidth(i), c.widths[i]);
            }
        }
    }

    const auto itemTexts = [](QMenu* menu) {
        QStringList texts;
        for (QAction* action : menu->actions())
            texts << action->text();
        return texts;
    };
    EXPECT_EQ(itemTexts(main.编辑), QStringList({"删除"}));
    EXPECT_EQ(itemTexts(main.菜单), QStringList({"加入收藏", "下载"}));
    EXPECT_EQ(main.组合框1->count(), 3);
    EXPECT_EQ(main.组合框1->currentIndex(), -1);
    EXPECT_EQ(main.组合框2->itemText(1), "奇书网");
    EXPECT_EQ(main.时钟1->interval(), 100);
    EXPECT_TRUE(main.时钟1->isActive());
}

TEST_F(MainWindowTest, LoadsTheShelfAndWritesTheSameBytesBack) {
    const Bytes file = gbk("/书/红楼梦.txt----红楼梦------------\r\n"
                           "/b----标题-----作者----E8中文网----\r\n"
                           "/b----标题-----作者----E8中文网----\r\n");
    writeShelf(file);
    open();
    ASSERT_EQ(shelf().rowCount(), 3);
    // The last line is the top row.
    EXPECT_EQ(shelf().cell(0, 0), "/b");
    EXPECT_EQ(shelf().cell(0, 1), gbk("标题"));
    EXPECT_EQ(shelf().cell(0, 2), gbk("-作者"));
    EXPECT_EQ(shelf().cell(2, 1), gbk("红楼梦"));
    EXPECT_EQ(shelf().cell(2, 2), "");
    EXPECT_EQ(shelf().cell(2, 3), "");
    EXPECT_EQ(state.settingsPath, fromQString(dir.filePath("config.ini")));
    EXPECT_EQ(state.hotkeyId, 0) << "no global hot key on this platform";

    window->close();
    EXPECT_EQ(shelfBytes(), file);
    EXPECT_FALSE(QFile::exists(shelfPath() + ".bak"));
    EXPECT_TRUE(messages.messages.isEmpty());
}

TEST_F(MainWindowTest, BytesWithoutUnicodeFormSurviveTheRoundTrip) {
    // 0xFF is no GBK lead byte; shown as a replacement character, kept as a byte.
    const Bytes file = "/x\xff.txt----t\x81\x30----a----\x80----\r\n";
    writeShelf(file);
    open();
    window->close();
    EXPECT_EQ(shelfBytes(), file);
}

TEST_F(MainWindowTest, FileWithBytesThatWereNoRowsIsKeptAsBackup) {
    const Bytes file = "a----b\r\nc----d----e----f----\r\ntrailing text";
    writeShelf(file);
    open();
    ASSERT_EQ(shelf().rowCount(), 2);
    EXPECT_EQ(shelf().cell(1, 1), "b");
    EXPECT_EQ(shelf().cell(1, 2), "");
    window->close();
    EXPECT_EQ(shelfBytes(), "a----b------------\r\nc----d----e----f----\r\n");
    QFile backup(shelfPath() + ".bak");
    ASSERT_TRUE(backup.open(QIODevice::ReadOnly));
    EXPECT_EQ(backup.readAll().toStdString(), file);
}

TEST_F(MainWindowTest, EmptyShelfIsSavedAsAnEmptyFile) {
    open();
    EXPECT_EQ(shelf().rowCount(), 0);
    window->close();
    EXPECT_EQ(shelfBytes(), "");
}

TEST_F(MainWindowTest, FailedSaveIsReported) {
    QFile plain(dir.filePath("plain"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    open(dir.filePath("plain/data"));
    window->close();
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_TRUE(messages.messages[0].contains("配置.txt"));
}

struct HandOverCase {
    const char* source;   // 来源 of the clicked row
    const char* expected; // 编辑框模式 afterwards; "5" was there before
};

TEST_F(MainWindowTest, ClickingAShelfRowHandsItToANewReaderWindow) {
    const HandOverCase cases[] = {
        {"", "0"},         {"笔趣阁", "3"},     {"搜狗", "4"},
        {"E8中文网", "6"}, {"搜狗小说网", "5"}, // not a 来源 the shelf writes: the code stays
        {"e8中文网", "5"},                      // compared byte for byte
    };
    Bytes file;
    for (const HandOverCase& c : cases)
        file = gbk((std::string("/addr/") + c.source + "----t----a----" + c.source + "----\r\n")
                       .c_str()) +
               file;
    writeShelf(file);
    MainWindow& main = open();
    for (int row = 0; row < static_cast<int>(std::size(cases)); ++row) {
        SCOPED_TRACE(cases[row].source);
        main.编辑框模式->setText("5");
        int selectedWhileOpen = -2;
        onModal = [&](QDialog& modal) {
            EXPECT_NE(qobject_cast<ReaderWindow*>(&modal), nullptr);
            EXPECT_EQ(modal.windowTitle(), "阅读");
            selectedWhileOpen = main.shelfList().selectedRow();
        };
        test::clickRow(shelf(), row);
        EXPECT_EQ(main.编辑框模式->text(), QString::fromUtf8(cases[row].expected));
        EXPECT_EQ(main.bookAddress(), gbk((std::string("/addr/") + cases[row].source).c_str()));
        EXPECT_EQ(selectedWhileOpen, row);
        EXPECT_EQ(opened.size(), row + 1) << "every click opens a new reader window";
    }
}

// What a chapter source sees when the reader's buttons are pressed.
class HandOverProbe : public ChapterSource {
  public:
    explicit HandOverProbe(QStringList& seen) : seen_(seen) {}
    void loadChapterList(const ReaderContext& context, std::function<void()> done) override {
        BookHandOver& handOver = context.handOver;
        seen_ << QStringLiteral("%1 %2 row %3")
                     .arg(toQString(context.bookSource), toQString(handOver.bookAddress()))
                     .arg(handOver.shelfList().selectedRow());
        done();
    }
    void showChapter(const ReaderContext&, int) override {}

  private:
    QStringList& seen_;
};

TEST_F(MainWindowTest, TheReaderFindsTheHandOverWhenItsButtonIsPressed) {
    writeShelf(gbk("/b----b----b----搜狗----\r\n/a----a----a----笔趣阁----\r\n"));
    QStringList seen;
    sources.add("3", [&](ReaderWindow&) { return std::make_unique<HandOverProbe>(seen); });
    sources.add("4", [&](ReaderWindow&) { return std::make_unique<HandOverProbe>(seen); });
    MainWindow& main = open();
    onModal = [&](QDialog& modal) {
        auto& reader = static_cast<ReaderWindow&>(modal);
        QTest::mouseClick(reader.按钮7, Qt::LeftButton);
        EXPECT_EQ(reader.windowTitle(), "阅读----共获取取：0章");
    };
    test::clickRow(shelf(), 0);
    test::clickRow(shelf(), 1);
    EXPECT_EQ(seen, QStringList({"3 /a row 0", "4 /b row 1"}));
    EXPECT_EQ(main.bookSource(), "4");
}

TEST_F(MainWindowTest, ClickBesideTheRowsOpensALocalBookWithNoAddress) {
    writeShelf("/a----t----a----笔趣阁----\r\n");
    MainWindow& main = open();
    shelf().selectRow(0);
    main.编辑框1->setText("old");
    test::clickRow(shelf(), -1);
    EXPECT_EQ(shelf().selectedRow(), -1);
    EXPECT_EQ(main.bookSource(), "0");
    EXPECT_EQ(main.bookAddress(), "");
    EXPECT_EQ(opened, QStringList({"mz::ReaderWindow"}));
}

TEST_F(MainWindowTest, DeleteRemovesTheRightClickedRow) {
    writeShelf("c----c----c----c----\r\nb----b----b----b----\r\na----a----a----a----\r\n");
    MainWindow& main = open();
    shelf().selectRow(0);
    rightClickRow(shelf(), 1);
    ASSERT_TRUE(main.编辑->isVisible());
    const QPoint expected =
        shelf().viewport()->mapToGlobal(test::rowPoint(shelf(), 1)) + QPoint(3, 3);
    EXPECT_EQ(main.编辑->pos(), expected);
    main.编辑->actions()[0]->trigger();
    main.编辑->hide();
    ASSERT_EQ(shelf().rowCount(), 2);
    EXPECT_EQ(shelf().cell(0, 0), "a");
    EXPECT_EQ(shelf().cell(1, 0), "c");

    rightClickRow(shelf(), -1); // beside the rows: nothing selected, nothing deleted
    main.编辑->actions()[0]->trigger();
    main.编辑->hide();
    EXPECT_EQ(shelf().rowCount(), 2);
    EXPECT_TRUE(opened.isEmpty()) << "a right click opens no book";
}

struct FavouriteCase {
    int site;   // index chosen in 组合框1, -1 for none
    int result; // selected row of 超级列表框2, -1 for none
    const char* source;
};

TEST_F(MainWindowTest, AddToShelfAppendsTheSelectedResult) {
    writeShelf("old----old----old----old----\r\n");
    MainWindow& main = open();
    ReportList& results = *main.超级列表框2;
    results.appendRows({{"/book/1", "玄幻", "书一", "作者一", "第九章", "2024"},
                        {"/book/2", "都市", "书二", "作者二", "", ""}});
    const FavouriteCase cases[] = {
        {0, 1, "笔趣阁"}, {1, 0, "搜狗"}, {2, 1, "E8中文网"}, {-1, 0, ""}, {0, -1, "笔趣阁"}};
    for (const FavouriteCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.site << "," << c.result);
        main.组合框1->setCurrentIndex(c.site);
        results.selectRow(c.result);
        const int before = shelf().rowCount();
        main.菜单->actions()[0]->trigger();
        ASSERT_EQ(shelf().rowCount(), before + 1);
        EXPECT_EQ(shelf().cell(before, 0), results.cell(c.result, 0));
        EXPECT_EQ(shelf().cell(before, 1), results.cell(c.result, 2));
        EXPECT_EQ(shelf().cell(before, 2), results.cell(c.result, 3));
        EXPECT_EQ(shelf().cell(before, 3), gbk(c.source));
    }
    EXPECT_EQ(shelf().cell(0, 0), "old") << "no row is overwritten";
    EXPECT_EQ(shelf().cell(5, 0), "") << "no selection gives empty texts";
    // A row appended at the bottom is written first.
    window->close();
    EXPECT_EQ(shelfBytes().substr(0, 24), gbk("------------笔趣阁----\r\n"));
}

TEST_F(MainWindowTest, HiddenCountFollowsTheShelf) {
    writeShelf("a----a----a----a----\r\n");
    MainWindow& main = open();
    EXPECT_TRUE(QTest::qWaitFor([&] { return main.编辑框3->text() == "1"; }, 1000));
    shelf().appendRow();
    shelf().appendRow();
    EXPECT_TRUE(QTest::qWaitFor([&] { return main.编辑框3->text() == "3"; }, 1000));
}

TEST_F(MainWindowTest, ImportButtonOpensTheImportWindow) {
    MainWindow& main = open();
    QTest::mouseClick(main.本地导入, Qt::LeftButton);
    EXPECT_EQ(opened, QStringList({"mz::ImportWindow"}));
}

// The default way of running a window: truly modal, closed by the user.
TEST_F(MainWindowTest, WindowsOpenModally) {
    MainWindow main(WindowServices{state, sources, messages},
                    DataDirectory::resolve(dir.path(), QString()));
    main.show();
    QString seen;
    QTimer::singleShot(0, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        seen = modal ? modal->windowTitle() : QStringLiteral("none");
        if (modal)
            modal->close();
    });
    main.openShelfBook();
    EXPECT_EQ(seen, "阅读");
    QTimer::singleShot(0, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        seen = modal ? modal->windowTitle() : QStringLiteral("none");
        if (modal)
            modal->close();
    });
    main.openImportWindow();
    EXPECT_EQ(seen, "本地导入");
}

// A terminate signal while the reader is open: every window closes and the event
// loop ends, even though the closing starts inside the reader's own loop.
TEST_F(MainWindowTest, ClosingAllWindowsFromAModalWindowEndsTheLoop) {
    writeShelf(gbk("a.txt----书----作者--------\r\n"));
    MainWindow main(WindowServices{state, sources, messages},
                    DataDirectory::resolve(dir.path(), QString()));
    main.show();
    bool readerWasOpen = false;
    QTimer::singleShot(0, &main, [&] {
        QTimer::singleShot(50, &main, [&] {
            readerWasOpen = QApplication::activeModalWidget() != nullptr;
            closeAllWindows(main);
        });
        main.openShelfBook();
    });
    QTimer::singleShot(10000, &main, [] { QCoreApplication::exit(1); }); // a lost quit
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_TRUE(readerWasOpen);
    EXPECT_FALSE(main.isVisible());
    EXPECT_EQ(shelfBytes(), gbk("a.txt----书----作者--------\r\n")) << "saved on closing";
}

} // namespace
} // namespace mz
