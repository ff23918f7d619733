#pragma once

// What the windows share for one run: the program state, the chapter sources,
// where messages go, and how a modal window is run (a test runs it its own way).

#include <QDialog>

#include <functional>

namespace mz {

class ChapterSources;
class MessageSink;
struct ProgramState;

struct WindowServices {
    ProgramState& state;
    const ChapterSources& chapterSources;
    MessageSink& messages;
    // Runs window modally and returns when it is closed.
    std::function<void(QDialog& window)> runModal = [](QDialog& window) { window.exec(); };
};

} // namespace mz
