#include "reader/chapters_command.h"

#include <QApplication>
#include <QMainWindow>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    if (const auto status = mz::runChaptersCommand(argc, argv))
        return *status;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("mozhou %s\n", MOZHOU_VERSION);
            return 0;
        }
        if (std::strcmp(argv[i], "--help") == 0) {
            std::printf("Usage: mozhou [--help] [--version]\n"
                        "墨舟: a reader for Chinese web novels.\n");
            return 0;
        }
    }
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("墨舟"));
    window.show();
    return QApplication::exec();
}
