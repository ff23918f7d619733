#pragma once

// Helpers for driving the real windows in tests: a message sink that records
// instead of showing boxes, and mouse clicks on list rows.

#include "app/message_sink.h"
#include "app/report_list.h"

#include <QStringList>
#include <QTest>

namespace mz::test {

class RecordingMessageSink : public MessageSink {
  public:
    void inform(QWidget*, const QString& text) override { messages << text; }
    QStringList messages;
};

// Viewport position of row in list (a point beside every row when row is -1).
inline QPoint rowPoint(ReportList& list, int row) {
    if (row < 0)
        return QPoint(10, list.viewport()->height() - 5);
    const QRect rect = list.visualItemRect(list.topLevelItem(row));
    return rect.center();
}

inline void clickRow(ReportList& list, int row, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseClick(list.viewport(), button, Qt::NoModifier, rowPoint(list, row));
}

} // namespace mz::test
