#include "app/dialog_message_sink.h"

#include <QMessageBox>

namespace mz {

void DialogMessageSink::inform(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("信息："), text, QMessageBox::Ok, parent);
    box.exec();
}

} // namespace mz
