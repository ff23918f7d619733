#include "app/import_window.h"
#include "app/program_state.h"
#include "app/report_list.h"
#include "text/qt_text.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace mz {
namespace {

class ImportWindowTest : public testing::Test {
  protected:
    QTemporaryDir dir;
    ProgramState state;
    ReportList shelf{QStringLiteral("超级列表框1"),
                     {{QStringLiteral("地址"), 0},
                      {QStringLiteral("标题"), 150},
                      {QStringLiteral("作者"), 60},
                      {QStringLiteral("来源"), 200}},
                     nullptr};
    ImportWindow window{state, shelf};
    QString chosen; // what the folder chooser answers
    int asked = 0;

    void SetUp() override {
        window.setFolderChooser([this](QWidget*) {
            ++asked;
            return chosen;
        });
    }

    void touch(const QString& name) {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }

    QStringList listed() const {
        QStringList names;
        for (int i = 0; i < window.列表框_文件->count(); ++i)
            names << window.列表框_文件->item(i)->text();
        return names;
    }

    void browse(const QString& folder) {
        chosen = folder;
        QTest::mouseClick(window.按钮2, Qt::LeftButton);
    }

    void choose(const QString& name) {
        const auto items = window.列表框_文件->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1);
        window.列表框_文件->setCurrentItem(items[0]);
    }
};

TEST_F(ImportWindowTest, ControlsSitAtTheirPlaces) {
    EXPECT_EQ(window.windowTitle(), "本地导入");
    EXPECT_EQ(window.size(), QSize(291, 303));
    const std::pair<QWidget*, QRect> places[] = {
        {window.编辑框_路径, {4, 3, 228, 28}},   {window.按钮2, {235, 4, 48, 28}},
        {window.列表框_文件, {4, 34, 277, 209}}, {window.编辑框1, {4, 247, 208, 24}},
        {window.按钮1, {218, 248, 64, 24}},      {window.编辑框2, {4, 275, 276, 20}},
        {window.编辑框3, {304, 72, 64, 48}},
    };
    for (const auto& [control, rect] : places) {
        EXPECT_EQ(control->geometry(), rect) << control->objectName().toStdString();
        EXPECT_EQ(window.findChild<QWidget*>(control->objectName()), control);
    }
    EXPECT_TRUE(window.编辑框2->isHidden());
    EXPECT_EQ(window.按钮2->text(), "浏览");
    EXPECT_EQ(window.按钮1->text(), "加入书架");
    EXPECT_EQ(window.时钟1->interval(), 10);
}

TEST_F(ImportWindowTest, ListsTextFilesInAnyLetterCaseAndNothingElse) {
    for (const char* name : {"b.txt", "A.TXT", "c.Txt", "notes.md", "d.txt.bak", "etxt"})
        touch(QString::fromUtf8(name));
    touch(QStringLiteral("红楼梦.txt"));
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.txt"));
    ASSERT_TRUE(QFile::link(dir.filePath("gone"), dir.filePath("dangling.txt")));
    browse(dir.path());
    EXPECT_EQ(listed(), QStringList({"A.TXT", "b.txt", "c.Txt", "红楼梦.txt"}));
    EXPECT_EQ(window.编辑框_路径->text(), dir.path() + "/");
    EXPECT_EQ(state.importFolder, fromQString(dir.path() + "/"));
}

TEST_F(ImportWindowTest, FolderEndsInExactlyOneSeparator) {
    browse(dir.path() + "/");
    EXPECT_EQ(window.编辑框_路径->text(), dir.path() + "/");
    browse("/");
    EXPECT_EQ(window.编辑框_路径->text(), "/");
}

TEST_F(ImportWindowTest, BrowsingAgainReplacesTheList) {
    touch("a.txt");
    browse(dir.path());
    QTemporaryDir other;
    browse(other.path());
    EXPECT_TRUE(listed().isEmpty());
    EXPECT_EQ(window.编辑框_路径->text(), other.path() + "/");
}

TEST_F(ImportWindowTest, CancelledChoiceChangesNothing) {
    touch("a.txt");
    browse(dir.path());
    browse(QString());
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(listed(), QStringList({"a.txt"}));
    EXPECT_EQ(window.编辑框_路径->text(), dir.path() + "/");
}

TEST_F(ImportWindowTest, MissingFolderListsNothing) {
    browse(dir.filePath("absent"));
    EXPECT_TRUE(listed().isEmpty());
    EXPECT_EQ(window.编辑框_路径->text(), dir.filePath("absent") + "/");
}

TEST_F(ImportWindowTest, SelectionUsesThePathAsItStandsThen) {
    touch("a.txt");
    touch("b.txt");
    browse(dir.path());
    choose("a.txt");
    EXPECT_EQ(window.编辑框1->text(), "a.txt");
    EXPECT_EQ(window.编辑框2->text(), dir.path() + "/a.txt");
    window.编辑框_路径->setText("/typed/");
    choose("b.txt");
    EXPECT_EQ(window.编辑框2->text(), "/typed/b.txt");
}

TEST_F(ImportWindowTest, AddAppendsALocalBookEachTime) {
    shelf.appendRows({{"/old", "old", "x", "笔趣阁"}});
    touch("书.txt");
    browse(dir.path());
    QTest::mouseClick(window.按钮1, Qt::LeftButton); // before any selection
    choose("书.txt");
    QTest::mouseClick(window.按钮1, Qt::LeftButton);
    QTest::mouseClick(window.按钮1, Qt::LeftButton);
    ASSERT_EQ(shelf.rowCount(), 4);
    EXPECT_EQ(shelf.cell(0, 0), "/old");
    EXPECT_EQ(shelf.cell(1, 0), "");
    EXPECT_EQ(shelf.cell(1, 1), "");
    for (int row : {2, 3}) {
        EXPECT_EQ(shelf.cell(row, 0), fromQString(dir.path() + "/书.txt"));
        EXPECT_EQ(shelf.cell(row, 1), fromQString("书.txt"));
        EXPECT_EQ(shelf.cell(row, 2), "");
        EXPECT_EQ(shelf.cell(row, 3), "");
    }
}

TEST_F(ImportWindowTest, CountFollowsTheShelf) {
    window.show();
    shelf.appendRow();
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.编辑框3->text() == "1"; }, 1000));
    QTest::mouseClick(window.按钮1, Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.编辑框3->text() == "2"; }, 1000));
}

} // namespace
} // namespace mz
