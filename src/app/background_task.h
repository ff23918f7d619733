#pragma once

// Runs a piece of long work (a page fetch, reading a book) on a worker thread and
// continues on the context object's thread when it is done, so no window freezes.
// One BackgroundTask stands for one kind of flow: starting it again while an
// earlier run is still busy replaces that run, whose result is then dropped.

#include <QFutureWatcher>
#include <QObject>
#include <QtConcurrent/QtConcurrentRun>

#include <memory>
#include <type_traits>

namespace mz {

class BackgroundTask {
  public:
    // done runs on context's thread, and never after context is destroyed.
    explicit BackgroundTask(QObject* context) : context_(context) {}

    // work() runs on a worker thread and must not touch widgets; it gets nothing
    // from the caller but what it captured by value. done(result) (or done() when
    // work returns nothing) runs afterwards unless another start() or cancel()
    // came first.
    template <class Work, class Done> void start(Work work, Done done) {
        using Result = std::invoke_result_t<Work>;
        const unsigned long long run = ++*generation_;
        auto* watcher = new QFutureWatcher<Result>(context_);
        QObject::connect(watcher, &QFutureWatcherBase::finished, context_,
                         [watcher, run, generation = generation_, done = std::move(done)] {
                             watcher->deleteLater();
                             if (run != *generation)
                                 return;
                             *generation += 1; // finished: no longer running
                             if constexpr (std::is_void_v<Result>)
                                 done();
                             else
                                 done(watcher->result());
                         });
        watcher->setFuture(QtConcurrent::run(std::move(work)));
        running_ = run;
    }

    // Drops the result of the run in progress, if any.
    void cancel() { ++*generation_; }

    // True from start() until its done has run or it was dropped.
    bool isRunning() const { return *generation_ == running_; }

  private:
    QObject* context_;
    // Shared with the continuations, which may outlive this object.
    std::shared_ptr<unsigned long long> generation_ = std::make_shared<unsigned long long>(1);
    unsigned long long running_ = 0; // generation of the last start()
};

} // namespace mz
