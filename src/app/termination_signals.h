#pragma once

// Turns the signals that end a session (SIGTERM at log-out, SIGINT from Ctrl+C,
// SIGHUP when the terminal goes) into a Qt signal on the user-interface thread,
// so the windows can close as their close buttons would and save what they hold.
// The handler only writes a byte to a pipe; everything else runs in the event loop.

#include <QObject>

class QSocketNotifier;

namespace mz {

class TerminationSignals : public QObject {
    Q_OBJECT

  public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

  signals:
    void terminationRequested(int signalNumber);

  private:
    void readSignal();

    QSocketNotifier* notifier_ = nullptr;
};

} // namespace mz
