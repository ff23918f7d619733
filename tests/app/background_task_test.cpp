#include "app/background_task.h"

#include <QTest>
#include <QThread>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace mz {
namespace {

TEST(BackgroundTask, WorkRunsOffTheUiThreadAndDoneOnIt) {
    QObject context;
    BackgroundTask task(&context);
    QThread* workThread = nullptr;
    QThread* doneThread = nullptr;
    int result = 0;
    task.start(
        [&workThread] {
            workThread = QThread::currentThread();
            return 42;
        },
        [&](int value) {
            doneThread = QThread::currentThread();
            result = value;
        });
    EXPECT_TRUE(task.isRunning());
    ASSERT_TRUE(QTest::qWaitFor([&] { return result != 0; }, 5000));
    EXPECT_EQ(result, 42);
    EXPECT_NE(workThread, QThread::currentThread());
    EXPECT_EQ(doneThread, QThread::currentThread());
    EXPECT_FALSE(task.isRunning());
}

TEST(BackgroundTask, ANewerRunDropsTheOlderOnesResult) {
    QObject context;
    BackgroundTask task(&context);
    std::atomic<bool> release{false};
    std::vector<std::string> results;
    task.start(
        [&release] {
            while (!release)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            return std::string("old");
        },
        [&](std::string value) { results.push_back(value); });
    task.start([] { return std::string("new"); },
               [&](std::string value) { results.push_back(value); });
    ASSERT_TRUE(QTest::qWaitFor([&] { return !results.empty(); }, 5000));
    release = true;
    QThreadPool::globalInstance()->waitForDone();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_EQ(results, std::vector<std::string>({"new"}));
}

TEST(BackgroundTask, CancelledOrOrphanedRunsNeverContinue) {
    int calls = 0;
    {
        QObject context;
        BackgroundTask task(&context);
        task.start([] {}, [&] { ++calls; });
        task.cancel();
        EXPECT_FALSE(task.isRunning());
        QThreadPool::globalInstance()->waitForDone();
        QCoreApplication::processEvents();
    }
    {
        auto context = std::make_unique<QObject>();
        BackgroundTask task(context.get());
        task.start([] { std::this_thread::sleep_for(std::chrono::milliseconds(20)); },
                   [&] { ++calls; });
        context.reset(); // the window closed while the work ran
        QThreadPool::globalInstance()->waitForDone();
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(calls, 0);
}

} // namespace
} // namespace mz
