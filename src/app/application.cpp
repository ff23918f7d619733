#include "app/application.h"

#include "app/data_directory.h"
#include "app/dialog_message_sink.h"
#include "app/main_window.h"
#include "app/program_state.h"
#include "app/termination_signals.h"
#include "reader/chapter_sources.h"
#include "reader/online_chapter_source.h"

#include <QApplication>
#include <QDir>
#include <QFile>

namespace mz {
namespace {

// Closes the open modal window, then the main window, as their close buttons
// would, so each saves what it holds.
void closeWindows(MainWindow& main) {
    while (QWidget* modal = QApplication::activeModalWidget()) {
        if (!modal->close())
            break;
    }
    main.close();
}

} // namespace

int Application::run() {
    ProgramState state;     // released when the run ends, after the loop
    ChapterSources sources; // where the reader's chapters come from, by BookSource code
    DialogMessageSink messages;
    const DataDirectory directory =
        DataDirectory::resolve(dataDirectory_, QCoreApplication::applicationDirPath());
    QDir().mkpath(directory.path()); // a failure shows when the bookshelf is saved
    const SiteConfig sites =
        SiteConfig::load(QFile::encodeName(directory.sitesPath()).toStdString());
    addOnlineChapterSources(sources, sites);

    MainWindow window(
        WindowServices{
            .state = state, .chapterSources = sources, .messages = messages, .sites = sites},
        directory);
    window.show();
    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::terminationRequested, &window,
                     [&window] { closeWindows(window); });
    const int code = QApplication::exec();
    window.saveBookshelf(); // in case the loop ended without the window closing
    state.release();
    return code;
}

} // namespace mz
