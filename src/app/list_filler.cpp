#include "app/list_filler.h"

#include "app/report_list.h"

#include <QElapsedTimer>

namespace mz {
namespace {

// Rows per append and the time one slice may hold the event loop.
constexpr size_t batchRows = 128;
constexpr qint64 sliceMilliseconds = 12;

} // namespace

ListFiller::ListFiller(ReportList& list, QObject* parent) : QObject(parent), list_(list) {
    timer_.setInterval(0);
    connect(&timer_, &QTimer::timeout, this, &ListFiller::appendSlice);
}

void ListFiller::replaceRows(Rows rows, std::function<void()> done) {
    cancel();
    list_.clearRows();
    rows_ = std::move(rows);
    next_ = 0;
    done_ = std::move(done);
    appendSlice();
    if (next_ < rows_.size())
        timer_.start();
}

void ListFiller::cancel() {
    timer_.stop();
    rows_.clear();
    next_ = 0;
    done_ = nullptr;
}

void ListFiller::appendSlice() {
    QElapsedTimer slice;
    slice.start();
    while (next_ < rows_.size()) {
        const size_t end = std::min(rows_.size(), next_ + batchRows);
        Rows batch(std::make_move_iterator(rows_.begin() + static_cast<std::ptrdiff_t>(next_)),
                   std::make_move_iterator(rows_.begin() + static_cast<std::ptrdiff_t>(end)));
        list_.appendRows(batch);
        next_ = end;
        if (slice.elapsed() >= sliceMilliseconds)
            break;
    }
    if (next_ < rows_.size())
        return;
    timer_.stop();
    rows_.clear();
    // done may start another fill on this filler.
    auto done = std::move(done_);
    done_ = nullptr;
    if (done)
        done();
}

} // namespace mz
