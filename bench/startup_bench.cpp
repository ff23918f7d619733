// Start-up to the main window shown, with a 10 000-row bookshelf against an
// empty one, measured in the same run: program state, main window with the
// bookshelf loaded, shown and painted. Prints both medians and the difference.

#include "app/data_directory.h"
#include "app/dialog_message_sink.h"
#include "app/main_window.h"
#include "app/program_state.h"
#include "reader/chapter_sources.h"
#include "text/qt_text.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

QByteArray shelfOf(int rows) {
    QByteArray bytes;
    for (int i = 0; i < rows; ++i) {
        const QString line =
            QStringLiteral(
                "/home/reader/书库/第%1本书.txt----长河夜航第%1卷----林远舟----笔趣阁----\r\n")
                .arg(i);
        bytes += QByteArray::fromStdString(mz::fromQString(line));
    }
    return bytes;
}

double startOnce(const QString& dataDir) {
    const auto start = std::chrono::steady_clock::now();
    mz::ProgramState state;
    mz::ChapterSources sources;
    mz::DialogMessageSink messages;
    mz::MainWindow window(mz::WindowServices{state, sources, messages},
                          mz::DataDirectory::resolve(dataDir, QString()));
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        std::fprintf(stderr, "window not exposed\n");
    QCoreApplication::processEvents();
    const auto shown = std::chrono::steady_clock::now();
    window.hide(); // no save: the bench measures start-up only
    return std::chrono::duration<double, std::milli>(shown - start).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QTemporaryDir empty;
    QTemporaryDir full;
    QFile file(full.filePath(QStringLiteral("配置.txt")));
    if (!file.open(QIODevice::WriteOnly) || file.write(shelfOf(10000)) < 0)
        return 1;
    file.close();

    startOnce(empty.path()); // warm-up: fonts, styles, plug-ins
    const int runs = argc > 1 ? std::atoi(argv[1]) : 15;
    std::vector<double> emptyTimes, fullTimes;
    for (int i = 0; i < runs; ++i) { // interleaved, so drift hits both alike
        emptyTimes.push_back(startOnce(empty.path()));
        fullTimes.push_back(startOnce(full.path()));
    }
    const double reference = median(emptyTimes);
    const double measured = median(fullTimes);
    std::printf("start-up, empty bookshelf (reference): %8.1f ms\n", reference);
    std::printf("start-up, 10000-row bookshelf:         %8.1f ms\n", measured);
    std::printf("difference:                            %8.1f ms (target: at most 300 ms)\n",
                measured - reference);
    return 0;
}
