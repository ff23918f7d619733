#pragma once

// The main window "墨舟": the bookshelf, novel search and download pages, the
// two pop-up menus, and the hand-over that opens a book in the reader window.
// The bookshelf is loaded from "配置.txt" when the window is made and written
// back when it closes.

#include "app/book_hand_over.h"
#include "app/window_services.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTimer;

namespace mz {

class DataDirectory;
class TabControl;

class MainWindow : public QWidget, public BookHandOver {
    Q_OBJECT

  public:
    MainWindow(WindowServices services, const DataDirectory& dataDirectory,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    void loadBookshelf();
    // Writes the bookshelf file; a failure is told to the user. Runs once.
    void saveBookshelf();

    void openShelfBook();
    void showShelfMenu(const QPoint& globalPosition);
    void removeFromShelf();
    void addToShelf();
    void openImportWindow();
    void mirrorShelfCount();
    // Opens a new reader window modally over this one, with the hand-over as it stands.
    void openReaderWindow();
    // Pops menu up 3 pixels right of and below the mouse position.
    void popUpMenu(QMenu* menu, const QPoint& globalPosition);

    Text bookSource() const override;
    Text bookAddress() const override;
    ReportList& shelfList() override { return *超级列表框1; }
    ReportList& resultList() override { return *超级列表框2; }

    TabControl* const 高级选择夹1;
    QLineEdit* const 编辑框模式; // hidden: the BookSource code
    QLabel* const 标签_热键反馈; // hidden: the hot key's feedback, no handler
    // 首页
    ReportList* const 超级列表框1; // the bookshelf
    QPushButton* const 本地导入;
    QLineEdit* const 编辑框3; // hidden: the bookshelf's row count
    QTimer* const 时钟1;      // mirrors the row count, 100 ms
    // 小说搜索
    QComboBox* const 组合框1; // site of the novel search
    QLineEdit* const 编辑框_搜索;
    QPushButton* const 按钮1;      // "搜索"
    ReportList* const 超级列表框2; // search results
    QLineEdit* const 编辑框1;      // the book's address for the reader
    // 下载
    QLabel* const 透明标签1;
    QLabel* const 透明标签2;
    QComboBox* const 组合框2; // download site
    QLineEdit* const 编辑框2; // download search word
    QPushButton* const 下载搜索;
    ReportList* const 超级列表框3; // download search results
    ReportList* const 超级列表框4; // download links
    QLineEdit* const 编辑框4;      // hidden
    // Pop-up menus
    QMenu* const 编辑; // "删除", on the bookshelf
    QMenu* const 菜单; // "加入收藏", "下载", on the search results

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    WindowServices services_;
    QString bookshelfPath_;
    QString settingsPath_;
    bool bookshelfLossy_ = false; // the file held bytes that did not become rows
    bool saved_ = false;
};

} // namespace mz
