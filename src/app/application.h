#pragma once

// One run of the windowed program: the program state, the main window and the
// message loop, from start-up to the release of the program state.

#include <QString>

namespace mz {

class Application {
  public:
    // dataDirectory: the --data-dir value, empty when none was given.
    explicit Application(QString dataDirectory) : dataDirectory_(std::move(dataDirectory)) {}

    // Needs the QApplication; returns the exit code.
    int run();

  private:
    QString dataDirectory_;
};

} // namespace mz
