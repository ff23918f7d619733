#include "app/application.h"

#include "app/close_all_windows.h"
#include "app/data_directory.h"
#include "app/dialog_message_sink.h"
#include "app/main_window.h"
#include "app/program_state.h"
#include "app/termination_signals.h"
#include "reader/chapter_sources.h"
#include "reader/local_chapter_source.h"
#include "reader/online_chapter_source.h"
#include "speech/media_audio_player.h"
#include "speech/speech_cache.h"
#include "speech/speech_service.h"

#include <QApplication>
#include <QDir>
#include <QFile>

namespace mz {

int Application::run() {
    ProgramState state;     // released when the run ends, after the loop
    ChapterSources sources; // where the reader's chapters come from, by BookSource code
    sources.add("0",
                [](ReaderWindow& reader) { return std::make_unique<LocalChapterSource>(reader); });
    DialogMessageSink messages;
    const DataDirectory directory =
        DataDirectory::resolve(dataDirectory_, QCoreApplication::applicationDirPath());
    QDir().mkpath(directory.path()); // a failure shows when the bookshelf is saved
    const SiteConfig sites =
        SiteConfig::load(QFile::encodeName(directory.sitesPath()).toStdString());
    addOnlineChapterSources(sources, sites);

    MediaAudioPlayer player; // one for the run: playbacks go on side by side
    SpeechService speech(sites.speechBase, sites.speechAppId, speechTempFolder(), player);
    WindowServices services{.state = state, .chapterSources = sources, .messages = messages};
    services.speech = &speech;
    services.sites = sites;
    MainWindow window(services, directory);
    window.show();
    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::terminationRequested, &window,
                     [&window] { closeAllWindows(window); });
    const int code = QApplication::exec();
    window.saveBookshelf(); // in case the loop ended without the window closing
    state.release();
    return code;
}

} // namespace mz
