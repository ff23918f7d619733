#include "app/novel_search_tab.h"

#include "app/main_window.h"
#include "app/message_sink.h"
#include "app/page_rows.h"
#include "app/program_state.h"
#include "app/report_list.h"
#include "sites/novel_search.h"
#include "sites/search_word.h"
#include "text/qt_text.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace mz {
namespace {

PageRows fetchResults(NovelSite site, const SiteRequest& request) {
    return fetchPageRows(request, site, takeSearchResults, [](SearchResultEntry entry) {
        return std::vector<Text>{std::move(entry.address),       std::move(entry.category),
                                 std::move(entry.title),         std::move(entry.author),
                                 std::move(entry.latestChapter), std::move(entry.updateTime)};
    });
}

} // namespace

NovelSearchTab::NovelSearchTab(MainWindow& window, const WindowServices& services)
    : QObject(&window), window_(window), services_(services), task_(this),
      filler_(*window.超级列表框2) {
    setObjectName(QStringLiteral("novelSearchTab"));
    connect(window.按钮1, &QPushButton::clicked, this, &NovelSearchTab::searchNovels);
    connect(window.超级列表框2, &ReportList::leftClicked, this, &NovelSearchTab::openSearchResult);
    connect(window.超级列表框2, &ReportList::rightClicked, this, &NovelSearchTab::showResultMenu);
}

void NovelSearchTab::searchNovels() {
    if (window_.组合框1->currentText().isEmpty()) {
        services_.messages.inform(&window_, QStringLiteral("先选择网站！"));
        return;
    }
    filler_.cancel();
    const auto site = novelSiteAt(window_.组合框1->currentIndex());
    if (!site) {
        task_.cancel();
        showCount();
        return;
    }
    const Text word = fromQString(window_.编辑框_搜索->text());
    const SiteRequest request = novelSearchRequest(
        *site, services_.sites, encodeSearchWord(novelSearchEncoder(*site), word));
    task_.start([site = *site, request] { return fetchResults(site, request); },
                [this](PageRows outcome) {
                    services_.state.searchPage = std::move(outcome.page);
                    filler_.replaceRows(std::move(outcome.rows), [this] { showCount(); });
                });
}

void NovelSearchTab::showCount() {
    window_.setWindowTitle(QStringLiteral("墨舟----共获取到：") +
                           QString::number(window_.超级列表框2->rowCount()) +
                           QStringLiteral("条有关于") + window_.编辑框_搜索->text());
    emit searchFinished();
}

void NovelSearchTab::openSearchResult() {
    if (const auto site = novelSiteAt(window_.组合框1->currentIndex()))
        window_.编辑框模式->setText(toQString(novelSiteBookSource(*site)));
    const ReportList& results = *window_.超级列表框2;
    window_.编辑框1->setText(toQString(results.cell(results.selectedRow(), 0)));
    window_.openReaderWindow();
}

void NovelSearchTab::showResultMenu(const QPoint& globalPosition) {
    window_.popUpMenu(window_.菜单, globalPosition);
}

} // namespace mz
