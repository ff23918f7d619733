#include "app/close_all_windows.h"

#include <QApplication>
#include <QWidget>

namespace mz {

void closeAllWindows(QWidget& mainWindow) {
    while (QWidget* modal = QApplication::activeModalWidget()) {
        if (!modal->close())
            return;
    }
    if (mainWindow.close())
        QCoreApplication::exit(0);
}

} // namespace mz
