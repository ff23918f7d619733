#pragma once

class QWidget;

namespace mz {

// Closes the open modal windows, top first, then the main window, as their close
// buttons would (so they save what they hold), and ends the application's event
// loop. Called from inside a modal window's own loop, the quit that the last
// window's closing asks for would otherwise be lost with that loop and leave a
// process without windows running.
void closeAllWindows(QWidget& mainWindow);

} // namespace mz
