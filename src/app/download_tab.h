#pragma once

// The 下载 page of the main window: searches 下书网 or 奇书网 for complete books
// (超级列表框3), lists a book's download links (超级列表框4) and hands a link to
// the web browser. Pages are fetched and taken apart on worker threads; a new
// search, or a new list of links, replaces one still running.

#include "app/background_task.h"
#include "app/list_filler.h"

#include <QObject>

namespace mz {

class MainWindow;
struct WindowServices;

class DownloadTab : public QObject {
    Q_OBJECT

  public:
    // Connects to the window's controls and to the item "下载" of "菜单".
    DownloadTab(MainWindow& window, const WindowServices& services);

    void searchDownloads();
    void downloadSelectedResult();
    void showDownloadLinks();
    void openDownloadLink();

    bool isBusy() const {
        return searchTask_.isRunning() || searchFiller_.isFilling() || linksTask_.isRunning() ||
               linksFiller_.isFilling();
    }

  signals:
    // The rows of the last download search are all in and the title counts them.
    void searchFinished();
    // The links of the last book are all in.
    void linksFinished();

  private:
    bool siteChosen();
    void showCount();

    MainWindow& window_;
    const WindowServices& services_;
    BackgroundTask searchTask_;
    ListFiller searchFiller_;
    BackgroundTask linksTask_;
    ListFiller linksFiller_;
};

} // namespace mz
