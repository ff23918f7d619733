#pragma once

#include "app/message_sink.h"

namespace mz {

// Shows each message as a modal QMessageBox.
class DialogMessageSink : public MessageSink {
  public:
    void inform(QWidget* parent, const QString& text) override;
};

} // namespace mz
