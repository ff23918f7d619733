#pragma once

// Where the windows send their messages to the user: the program's message box
// by default, a recorder in tests.

#include <QString>

class QWidget;

namespace mz {

class MessageSink {
  public:
    virtual ~MessageSink() = default;
    // Tells the user text in a box captioned "信息：" with an OK button only;
    // returns when the user has closed it.
    virtual void inform(QWidget* parent, const QString& text) = 0;
};

} // namespace mz
