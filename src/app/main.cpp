#include "app/application.h"
#include "app/command_line.h"
#include "app/data_directory.h"
#include "app/demo_sites.h"
#include "reader/chapters_command.h"

#include <QApplication>

#include <cstdio>

namespace {

int printHelp(const mz::CommandLine& commandLine, int argc, char** argv) {
    QCoreApplication app(argc, argv); // for the program's directory
    const mz::DataDirectory directory = mz::DataDirectory::resolve(
        commandLine.dataDirectory(), QCoreApplication::applicationDirPath());
    std::printf("%s\n%s\n", commandLine.helpText().c_str(),
                directory.description().toLocal8Bit().constData());
    return 0;
}

// The program against the site simulator, in a data directory that goes with it.
int runDemo(int argc, char** argv) {
    QApplication app(argc, argv);
    mz::DemoSites demo;
    if (!demo.start(mz::demoCorpusDirectory())) {
        std::fprintf(stderr, "mozhou: %s\n", demo.error().toLocal8Bit().constData());
        return 1;
    }
    std::printf("demo: sites played at %s", demo.baseAddress().c_str());
    if (demo.corpusBooks() > 0)
        std::printf(", with %d novels of the corpus", demo.corpusBooks());
    std::printf("\ndemo: data directory %s, removed at exit\n",
                demo.dataDirectory().toLocal8Bit().constData());
    std::fflush(stdout);
    return mz::Application(demo.dataDirectory()).run();
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication::setApplicationName(QStringLiteral("mozhou"));
    mz::CommandLine commandLine(argc, argv);
    commandLine.addCommand({"--version", "", "print the version", [](int, char**) {
                                std::printf("mozhou %s\n", MOZHOU_VERSION);
                                return 0;
                            }});
    commandLine.addCommand({"--help", "", "print this help and the data directory in use",
                            [&](int, char**) { return printHelp(commandLine, argc, argv); }});
    commandLine.addCommand({"--chapters", "FILE [--encoding ansi|unicode|unicode-be|utf8|auto]",
                            "print the chapter names of a local book in UTF-8, one per line",
                            [](int n, char** args) { return mz::runChaptersCommand(n, args); }});
    commandLine.addCommand({"--demo", "",
                            "try the online features against a local site simulator, in a "
                            "throw-away data directory",
                            [&](int, char**) { return runDemo(argc, argv); }});
    if (const auto code = commandLine.runCommand())
        return *code;
    if (!commandLine.error().empty()) {
        std::fprintf(stderr, "mozhou: %s\n", commandLine.error().c_str());
        return 2;
    }
    QApplication app(argc, argv);
    return mz::Application(commandLine.dataDirectory()).run();
}
