#include "app/command_line.h"

#include <gtest/gtest.h>

#include <vector>

namespace mz {
namespace {

// argv for CommandLine, kept alive by the vector of strings.
struct Args {
    explicit Args(std::vector<std::string> args) : strings(std::move(args)) {
        for (std::string& s : strings)
            pointers.push_back(s.data());
        pointers.push_back(nullptr);
    }
    int argc() const { return static_cast<int>(strings.size()); }
    char** argv() { return pointers.data(); }

    std::vector<std::string> strings;
    std::vector<char*> pointers;
};

struct Recorded {
    std::vector<std::string> args; // what the command was given
};

CommandLine withCommands(Args& args, Recorded& recorded) {
    CommandLine commandLine(args.argc(), args.argv());
    for (const char* flag : {"--version", "--chapters"}) {
        commandLine.addCommand({flag, "", "summary", [&recorded](int argc, char** argv) {
                                    recorded.args.assign(argv, argv + argc);
                                    return 7;
                                }});
    }
    return commandLine;
}

TEST(CommandLine, RunsTheNamedCommandWithItsOwnArguments) {
    Args args({"mozhou", "--data-dir", "/d", "--chapters", "book.txt", "--encoding", "auto"});
    Recorded recorded;
    const CommandLine commandLine = withCommands(args, recorded);
    EXPECT_EQ(commandLine.runCommand(), 7);
    EXPECT_EQ(recorded.args,
              std::vector<std::string>({"--chapters", "book.txt", "--encoding", "auto"}));
    EXPECT_EQ(commandLine.dataDirectory(), "/d");
}

TEST(CommandLine, WithoutACommandTheWindowsOpen) {
    for (std::vector<std::string> argv : {std::vector<std::string>{"mozhou"},
                                          {"mozhou", "--data-dir", "--version"},
                                          {"mozhou", "-platform", "offscreen"}}) {
        Args args(argv);
        Recorded recorded;
        const CommandLine commandLine = withCommands(args, recorded);
        EXPECT_EQ(commandLine.runCommand(), std::nullopt) << argv.back();
        EXPECT_TRUE(commandLine.error().empty());
    }
}

TEST(CommandLine, DataDirectoryForms) {
    struct Case {
        std::vector<std::string> argv;
        QString dataDir;
        bool error;
    };
    const Case cases[] = {
        {{"mozhou", "--data-dir", "/a"}, "/a", false},
        {{"mozhou", "--data-dir=/b c"}, "/b c", false},
        {{"mozhou", "--data-dir"}, "", true},
        {{"mozhou", "--data-dir", ""}, "", true},
        {{"mozhou"}, "", false},
    };
    for (const Case& c : cases) {
        Args args(c.argv);
        const CommandLine commandLine(args.argc(), args.argv());
        EXPECT_EQ(commandLine.dataDirectory(), c.dataDir);
        EXPECT_EQ(!commandLine.error().empty(), c.error);
    }
}

TEST(CommandLine, HelpListsEveryCommandAndTheDataDirectoryOption) {
    Args args({"mozhou"});
    CommandLine commandLine(args.argc(), args.argv());
    commandLine.addCommand({"--chapters", "FILE", "print the chapter names", {}});
    const std::string help = commandLine.helpText();
    EXPECT_NE(help.find("mozhou --chapters FILE"), std::string::npos);
    EXPECT_NE(help.find("print the chapter names"), std::string::npos);
    EXPECT_NE(help.find("--data-dir DIR"), std::string::npos);
}

} // namespace
} // namespace mz
