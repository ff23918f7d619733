#pragma once

// The 小说搜索 page of the main window: searches one of the three novel sites,
// lists the books found in 超级列表框2, opens one in the reader on a left click
// and offers the pop-up menu "菜单" on a right click. The page is fetched and
// taken apart on a worker thread; a new search replaces one still running.

#include "app/background_task.h"
#include "app/list_filler.h"

#include <QObject>

class QPoint;

namespace mz {

class MainWindow;
struct WindowServices;

class NovelSearchTab : public QObject {
    Q_OBJECT

  public:
    // Connects to the window's controls; lives as long as the window.
    NovelSearchTab(MainWindow& window, const WindowServices& services);

    void searchNovels();
    void openSearchResult();
    void showResultMenu(const QPoint& globalPosition);

    bool isBusy() const { return task_.isRunning() || filler_.isFilling(); }

  signals:
    // The rows of the last search are all in and the title counts them.
    void searchFinished();

  private:
    void showCount();

    MainWindow& window_;
    const WindowServices& services_;
    BackgroundTask task_;
    ListFiller filler_;
};

} // namespace mz
