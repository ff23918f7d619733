#include "app/download_tab.h"

#include "app/main_window.h"
#include "app/message_sink.h"
#include "app/page_rows.h"
#include "app/program_state.h"
#include "app/report_list.h"
#include "app/tab_control.h"
#include "sites/download_search.h"
#include "sites/search_word.h"
#include "sites/web_address.h"
#include "text/qt_text.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

namespace mz {
namespace {

constexpr int downloadPage = 2;
constexpr int resultTitleColumn = 2; // 书名 in 超级列表框2

PageRows fetchResults(DownloadSite site, const SiteRequest& request) {
    return fetchPageRows(request, site, takeDownloadResults, [](DownloadResultEntry entry) {
        return std::vector<Text>{std::move(entry.address), std::move(entry.title)};
    });
}

PageRows fetchLinks(DownloadSite site, const SiteRequest& request) {
    return fetchPageRows(request, site, takeDownloadLinks, [](DownloadLinkEntry entry) {
        return std::vector<Text>{std::move(entry.address), std::move(entry.mode)};
    });
}

} // namespace

DownloadTab::DownloadTab(MainWindow& window, const WindowServices& services)
    : QObject(&window), window_(window), services_(services), searchTask_(this),
      searchFiller_(*window.超级列表框3), linksTask_(this), linksFiller_(*window.超级列表框4) {
    setObjectName(QStringLiteral("downloadTab"));
    connect(window.下载搜索, &QPushButton::clicked, this, &DownloadTab::searchDownloads);
    connect(window.超级列表框3, &ReportList::leftClicked, this, &DownloadTab::showDownloadLinks);
    connect(window.超级列表框4, &ReportList::leftClicked, this, &DownloadTab::openDownloadLink);
    QAction* download = window.菜单->findChild<QAction*>(QStringLiteral("下载"));
    connect(download, &QAction::triggered, this, &DownloadTab::downloadSelectedResult);
}

bool DownloadTab::siteChosen() {
    if (!window_.组合框2->currentText().isEmpty())
        return true;
    services_.messages.inform(&window_, QStringLiteral("先选择网站！"));
    return false;
}

void DownloadTab::searchDownloads() {
    if (!siteChosen())
        return;
    searchFiller_.cancel();
    const auto site = downloadSiteAt(window_.组合框2->currentIndex());
    if (!site) {
        searchTask_.cancel();
        showCount();
        return;
    }
    const Text word = fromQString(window_.编辑框2->text());
    const SiteRequest request = downloadSearchRequest(
        *site, services_.sites, encodeSearchWord(downloadSearchEncoder(*site), word));
    searchTask_.start([site = *site, request] { return fetchResults(site, request); },
                      [this](PageRows outcome) {
                          services_.state.searchPage = std::move(outcome.page);
                          searchFiller_.replaceRows(std::move(outcome.rows),
                                                    [this] { showCount(); });
                      });
}

void DownloadTab::showCount() {
    window_.setWindowTitle(QStringLiteral("墨舟----共获取到：") +
                           QString::number(window_.超级列表框3->rowCount()) +
                           QStringLiteral("条有关于") + window_.编辑框2->text());
    emit searchFinished();
}

void DownloadTab::downloadSelectedResult() {
    window_.高级选择夹1->setCurrentIndex(downloadPage);
    const ReportList& results = *window_.超级列表框2;
    window_.编辑框2->setText(toQString(results.cell(results.selectedRow(), resultTitleColumn)));
    searchDownloads();
}

void DownloadTab::showDownloadLinks() {
    if (!siteChosen())
        return;
    const auto site = downloadSiteAt(window_.组合框2->currentIndex());
    if (!site)
        return;
    const ReportList& results = *window_.超级列表框3;
    const Text address = results.cell(results.selectedRow(), 0);
    SiteRequest request;
    if (*site == DownloadSite::Xiashu) {
        // Without an "id=" there is no book to ask for: no request, lists kept.
        const auto bookId = xiashuBookId(address);
        if (!bookId)
            return;
        window_.编辑框4->setText(toQString(*bookId));
        request = xiashuLinksRequest(services_.sites, fromQString(window_.编辑框4->text()));
    } else {
        request = qishuLinksRequest(services_.sites, address);
    }
    linksFiller_.cancel();
    linksTask_.start([site = *site, request] { return fetchLinks(site, request); },
                     [this](PageRows outcome) {
                         services_.state.downloadLinksPage = std::move(outcome.page);
                         linksFiller_.replaceRows(std::move(outcome.rows),
                                                  [this] { emit linksFinished(); });
                     });
}

void DownloadTab::openDownloadLink() {
    const ReportList& links = *window_.超级列表框4;
    if (links.selectedRow() < 0)
        return;
    const Text address = links.cell(links.selectedRow(), 0);
    // A page could otherwise make a click open a local file or run a program.
    if (!isWebAddress(address)) {
        services_.messages.inform(&window_, QStringLiteral("这不是网页地址，没有打开：") +
                                                toQString(address));
        return;
    }
    services_.openUrl(QUrl(toQString(address), QUrl::TolerantMode));
}

} // namespace mz
