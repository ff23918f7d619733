#pragma once

// Whether a child program has got as far as installing its signal handlers.

#include <QByteArray>
#include <QFile>
#include <QString>

namespace mz::test {

// True once the process has a handler for signalNumber (Linux: SigCgt in
// /proc/PID/status), which it installs when its main window is up.
inline bool catchesSignal(qint64 pid, int signalNumber) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("SigCgt:"))
            return (line.mid(7).trimmed().toULongLong(nullptr, 16) >> (signalNumber - 1)) & 1;
    }
    return false;
}

} // namespace mz::test
