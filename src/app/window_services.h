#pragma once

// What the windows share for one run: the program state, the chapter sources,
// where messages go, how a modal window is run and a link is opened (a test
// does both its own way), and where the online sites live.

#include "sites/site_config.h"

#include <QDesktopServices>
#include <QDialog>
#include <QUrl>

#include <functional>

namespace mz {

class ChapterSources;
class MessageSink;
class SpeechService;
struct ProgramState;

struct WindowServices {
    ProgramState& state;
    const ChapterSources& chapterSources;
    MessageSink& messages;
    // Runs window modally and returns when it is closed.
    std::function<void(QDialog& window)> runModal = [](QDialog& window) { window.exec(); };
    // Reads the reader's text aloud; none: "朗读" does nothing.
    SpeechService* speech = nullptr;
    SiteConfig sites{};
    // Hands an address to the system's web browser.
    std::function<bool(const QUrl& address)> openUrl = QDesktopServices::openUrl;
};

} // namespace mz
