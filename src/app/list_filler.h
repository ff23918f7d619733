#pragma once

// Fills a report list from rows that are already taken from a page, a slice at
// a time from the event loop, so a list of ten thousand rows shows while it
// grows and the window keeps answering. One filler stands for one kind of
// flow: a new fill, or cancel(), stops the fill in progress and drops its done.

#include "text/text.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <vector>

namespace mz {

class ReportList;

class ListFiller : public QObject {
    Q_OBJECT

  public:
    using Rows = std::vector<std::vector<Text>>;

    explicit ListFiller(ReportList& list, QObject* parent = nullptr);

    // Stops any fill in progress, removes every row of the list, then appends
    // rows in order. done() runs once the last row is in (at once for none).
    void replaceRows(Rows rows, std::function<void()> done);

    // Stops the fill in progress; the rows already appended stay.
    void cancel();

    bool isFilling() const { return timer_.isActive(); }

  private:
    void appendSlice();

    ReportList& list_;
    QTimer timer_;
    Rows rows_;
    size_t next_ = 0;
    std::function<void()> done_;
};

} // namespace mz
