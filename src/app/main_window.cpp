#include "app/main_window.h"

#include "app/bookshelf_file.h"
#include "app/controls.h"
#include "app/data_directory.h"
#include "app/download_tab.h"
#include "app/hot_key.h"
#include "app/import_window.h"
#include "app/message_sink.h"
#include "app/novel_search_tab.h"
#include "app/program_state.h"
#include "app/report_list.h"
#include "app/tab_control.h"
#include "reader/reader_window.h"
#include "text/qt_text.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTimer>

namespace mz {
namespace {

enum ShelfColumn { address, title, author, source };
enum ResultColumn { resultAddress = 0, resultTitle = 2, resultAuthor = 3 };

QMenu* makeMenu(QWidget* parent, const char* name, std::initializer_list<const char*> items) {
    auto* menu = new QMenu(QString::fromUtf8(name), parent);
    menu->setObjectName(QString::fromUtf8(name));
    for (const char* item : items)
        menu->addAction(QString::fromUtf8(item))->setObjectName(QString::fromUtf8(item));
    return menu;
}

QAction* menuItem(QMenu* menu, const char* name) {
    return menu->findChild<QAction*>(QString::fromUtf8(name));
}

// The BookSource code for a bookshelf row's 来源; empty when the 来源 is not one
// the bookshelf writes.
Text codeForShelfSource(const Text& source) {
    if (source.empty())
        return "0";
    if (source == fromQString(QStringLiteral("笔趣阁")))
        return "3";
    if (source == fromQString(QStringLiteral("搜狗")))
        return "4";
    if (source == fromQString(QStringLiteral("E8中文网")))
        return "6";
    return {};
}

// The 来源 written for a search result of the site at index of 组合框1.
QString sourceForSite(int index) {
    static const char* const names[] = {"笔趣阁", "搜狗", "E8中文网"};
    return index >= 0 && index < 3 ? QString::fromUtf8(names[index]) : QString();
}

std::vector<BookshelfEntry> shelfRows(const ReportList& list) {
    std::vector<BookshelfEntry> rows;
    rows.reserve(static_cast<size_t>(list.rowCount()));
    for (int row = 0; row < list.rowCount(); ++row)
        rows.push_back({list.cell(row, address), list.cell(row, title), list.cell(row, author),
                        list.cell(row, source)});
    return rows;
}

} // namespace

MainWindow::MainWindow(WindowServices services, const DataDirectory& dataDirectory, QWidget* parent)
    : QWidget(parent), 高级选择夹1(placed(new TabControl(QStringLiteral("高级选择夹1"), this),
                                          "高级选择夹1", {0, 0, 440, 560})),
      编辑框模式(makeLineEdit(this, "编辑框模式", {256, 2, 80, 20})),
      标签_热键反馈(makeLabel(this, "标签_热键反馈", "标签_热键反馈", {528, 248, 40, 16})),
      超级列表框1(placed(new ReportList(QStringLiteral("超级列表框1"),
                                        {{QStringLiteral("地址"), 0},
                                         {QStringLiteral("标题"), 150},
                                         {QStringLiteral("作者"), 60},
                                         {QStringLiteral("来源"), 200}},
                                        高级选择夹1->addPage(QStringLiteral("首页"))),
                         "超级列表框1", {4, 64, 432, 492})),
      本地导入(makeButton(高级选择夹1->page(0), "本地导入", "本地导入", {356, 28, 80, 32})),
      编辑框3(makeLineEdit(高级选择夹1->page(0), "编辑框3", {288, 30, 40, 24})),
      时钟1(makeTimer(this, "时钟1", 100)),
      组合框1(makeComboBox(
          高级选择夹1->addPage(QStringLiteral("小说搜索")), "组合框1",
          {QStringLiteral("笔趣阁"), QStringLiteral("搜狗小说网"), QStringLiteral("E8中文网")},
          {10, 31, 98, 20})),
      编辑框_搜索(makeLineEdit(高级选择夹1->page(1), "编辑框_搜索", {114, 31, 254, 20})),
      按钮1(makeButton(高级选择夹1->page(1), "按钮1", "搜索", {376, 30, 56, 24})),
      超级列表框2(placed(new ReportList(QStringLiteral("超级列表框2"),
                                        {{QStringLiteral("地址"), 0},
                                         {QStringLiteral("类型"), 60},
                                         {QStringLiteral("书名"), 150},
                                         {QStringLiteral("作者"), 60},
                                         {QStringLiteral("最新章节"), 100},
                                         {QStringLiteral("更新时间"), 100}},
                                        高级选择夹1->page(1)),
                         "超级列表框2", {8, 55, 424, 501})),
      编辑框1(makeLineEdit(高级选择夹1->page(1), "编辑框1", {304, 222, 80, 20})),
      透明标签1(makeLabel(高级选择夹1->addPage(QStringLiteral("下载")), "透明标签1", "只提供下载！",
                          {10, 30, 99, 24})),
      透明标签2(makeLabel(高级选择夹1->page(2), "透明标签2", "来源：", {144, 34, 32, 16})),
      组合框2(makeComboBox(高级选择夹1->page(2), "组合框2",
                           {QStringLiteral("下书网"), QStringLiteral("奇书网")},
                           {176, 32, 104, 20})),
      编辑框2(makeLineEdit(高级选择夹1->page(2), "编辑框2", {282, 30, 80, 24})),
      下载搜索(makeButton(高级选择夹1->page(2), "下载搜索", "搜索", {368, 31, 64, 24})),
      超级列表框3(
          placed(new ReportList(QStringLiteral("超级列表框3"),
                                {{QStringLiteral("地址"), 50}, {QStringLiteral("标题"), 160}},
                                高级选择夹1->page(2)),
                 "超级列表框3", {8, 59, 424, 256})),
      超级列表框4(
          placed(new ReportList(QStringLiteral("超级列表框4"),
                                {{QStringLiteral("地址"), 50}, {QStringLiteral("模式"), 300}},
                                高级选择夹1->page(2)),
                 "超级列表框4", {8, 320, 424, 224})),
      编辑框4(makeLineEdit(高级选择夹1->page(2), "编辑框4", {344, 286, 80, 20})),
      编辑(makeMenu(this, "编辑", {"删除"})), 菜单(makeMenu(this, "菜单", {"加入收藏", "下载"})),
      services_(std::move(services)), bookshelfPath_(dataDirectory.bookshelfPath()),
      settingsPath_(dataDirectory.settingsPath()) {
    setWindowTitle(QStringLiteral("墨舟"));
    move(50, 50);
    resize(447, 592);
    编辑框模式->hide();
    标签_热键反馈->hide();
    编辑框3->hide();
    编辑框4->hide();
    // Only the hand-over reads it; shown, it would float over the search results.
    编辑框1->hide();

    connect(超级列表框1, &ReportList::leftClicked, this, &MainWindow::openShelfBook);
    connect(超级列表框1, &ReportList::rightClicked, this, &MainWindow::showShelfMenu);
    connect(menuItem(编辑, "删除"), &QAction::triggered, this, &MainWindow::removeFromShelf);
    connect(menuItem(菜单, "加入收藏"), &QAction::triggered, this, &MainWindow::addToShelf);
    connect(本地导入, &QPushButton::clicked, this, &MainWindow::openImportWindow);
    connect(时钟1, &QTimer::timeout, this, &MainWindow::mirrorShelfCount);
    时钟1->start();
    new NovelSearchTab(*this, services_);
    new DownloadTab(*this, services_);

    loadBookshelf();
}

MainWindow::~MainWindow() = default;

void MainWindow::loadBookshelf() {
    services_.state.settingsPath = fromQString(settingsPath_);
    超级列表框1->clearRows();
    ParsedBookshelf parsed = parseBookshelf(readBookshelfFile(bookshelfPath_));
    bookshelfLossy_ = parsed.lossy;
    std::vector<std::vector<Text>> rows;
    rows.reserve(parsed.rows.size());
    for (BookshelfEntry& entry : parsed.rows)
        rows.push_back({std::move(entry.address), std::move(entry.title), std::move(entry.author),
                        std::move(entry.source)});
    超级列表框1->appendRows(rows);
    services_.state.hotkeyId = registerGlobalHotKey(winId(), hotKeyVirtualKey);
}

void MainWindow::saveBookshelf() {
    if (saved_)
        return;
    saved_ = true;
    const WriteResult result = writeBookshelfFile(
        bookshelfPath_, formatBookshelf(shelfRows(*超级列表框1)), bookshelfLossy_);
    if (!result.ok)
        services_.messages.inform(
            this, QStringLiteral("书架没能保存到 %1：%2").arg(bookshelfPath_, result.error));
}

void MainWindow::closeEvent(QCloseEvent* event) {
    saveBookshelf();
    QWidget::closeEvent(event);
}

Text MainWindow::bookSource() const {
    return fromQString(编辑框模式->text());
}

Text MainWindow::bookAddress() const {
    return fromQString(编辑框1->text());
}

void MainWindow::openShelfBook() {
    const int row = 超级列表框1->selectedRow();
    const Text code = codeForShelfSource(超级列表框1->cell(row, source));
    if (!code.empty())
        编辑框模式->setText(toQString(code));
    编辑框1->setText(toQString(超级列表框1->cell(row, address)));
    openReaderWindow();
}

void MainWindow::openReaderWindow() {
    ReaderWindow reader(services_.state, services_.chapterSources, services_.messages, *this, this);
    reader.setSpeech(services_.speech);
    services_.runModal(reader);
}

void MainWindow::popUpMenu(QMenu* menu, const QPoint& globalPosition) {
    menu->popup(globalPosition + QPoint(3, 3));
}

void MainWindow::showShelfMenu(const QPoint& globalPosition) {
    popUpMenu(编辑, globalPosition);
}

void MainWindow::removeFromShelf() {
    const int row = 超级列表框1->selectedRow();
    if (row >= 0)
        超级列表框1->removeRow(row);
}

void MainWindow::addToShelf() {
    // The appended row's own index: the count mirrored into 编辑框3 lags up to a
    // timer tick behind, and a stale count would overwrite another book.
    const int row = 超级列表框1->appendRow();
    const int result = 超级列表框2->selectedRow();
    超级列表框1->setCell(row, title, 超级列表框2->cell(result, resultTitle));
    超级列表框1->setCell(row, address, 超级列表框2->cell(result, resultAddress));
    超级列表框1->setCell(row, author, 超级列表框2->cell(result, resultAuthor));
    超级列表框1->setCell(row, source, fromQString(sourceForSite(组合框1->currentIndex())));
}

void MainWindow::openImportWindow() {
    ImportWindow window(services_.state, *超级列表框1, this);
    services_.runModal(window);
}

void MainWindow::mirrorShelfCount() {
    编辑框3->setText(QString::number(超级列表框1->rowCount()));
}

} // namespace mz
