// The reader window while a large local book loads: the longest time the event
// loop goes without turning (a 10 ms timer records its gaps), against the same
// window left idle; and the time to show the book's last chapter, against its
// first. Usage: reader_window_bench BOOK.txt

#include "app/book_hand_over.h"
#include "app/message_sink.h"
#include "app/program_state.h"
#include "app/report_list.h"
#include "reader/chapter_sources.h"
#include "reader/local_chapter_source.h"
#include "reader/reader_window.h"
#include "text/qt_text.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {

class ShelfHandOver : public mz::BookHandOver {
  public:
    explicit ShelfHandOver(const QString& path) {
        shelf.appendRows({{mz::fromQString(path)}});
        shelf.selectRow(0);
    }
    mz::Text bookSource() const override { return "0"; }
    mz::Text bookAddress() const override { return shelf.cell(0, 0); }
    mz::ReportList& shelfList() override { return shelf; }
    mz::ReportList& resultList() override { return shelf; }

    mz::ReportList shelf{QStringLiteral("超级列表框1"), {{QStringLiteral("地址"), 0}}, nullptr};
};

class SilentSink : public mz::MessageSink {
  public:
    void inform(QWidget*, const QString&) override {}
};

// Longest gap in milliseconds between 10 ms ticks while running() holds.
double longestGap(const std::function<bool()>& running) {
    QElapsedTimer clock;
    clock.start();
    qint64 last = clock.nsecsElapsed();
    qint64 longest = 0;
    QTimer ticker;
    ticker.setInterval(10);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        longest = std::max(longest, now - last);
        last = now;
    });
    ticker.start();
    while (running())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return static_cast<double>(longest) / 1e6;
}

double showRow(mz::ReaderWindow& window, int row) {
    window.超级列表章节->selectRow(row);
    QElapsedTimer clock;
    clock.start();
    window.showChapter();
    return static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: reader_window_bench BOOK.txt\n");
        return 2;
    }
    mz::ProgramState state;
    QTemporaryDir settings;
    state.settingsPath = mz::fromQString(settings.filePath(QStringLiteral("config.ini")));
    mz::ChapterSources sources;
    sources.add("0",
                [](mz::ReaderWindow& r) { return std::make_unique<mz::LocalChapterSource>(r); });
    SilentSink messages;
    ShelfHandOver handOver(QString::fromLocal8Bit(argv[1]));
    mz::ReaderWindow window(state, sources, messages, handOver);
    window.closingWait = std::chrono::milliseconds(0);
    window.show();

    QElapsedTimer idle;
    idle.start();
    const double idleGap = longestGap([&] { return idle.elapsed() < 1000; });

    QElapsedTimer loading;
    loading.start();
    window.按钮7->click();
    const auto* source = window.findChild<mz::LocalChapterSource*>();
    const double loadGap = longestGap([&] { return source && source->isLoading(); });
    const double loadTime = static_cast<double>(loading.elapsed()) / 1000;

    const int rows = window.超级列表章节->rowCount();
    const double first = showRow(window, std::min(1, rows - 1));
    const double last = showRow(window, rows - 1);
    std::printf("4a. longest event-loop gap while loading: %.1f ms   idle window %.1f ms   "
                "(target <= 50 ms; load took %.2f s, %d rows, caption %s)\n",
                loadGap, idleGap, loadTime, rows,
                window.标签_状态显示->text().toUtf8().constData());
    std::printf("4b. showing the last chapter: %.2f ms   the first chapter %.2f ms   "
                "(target <= 16 ms)\n",
                last, first);
    return 0;
}
