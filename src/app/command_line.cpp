#include "app/command_line.h"

namespace mz {
namespace {

constexpr std::string_view dataDirFlag = "--data-dir";

} // namespace

CommandLine::CommandLine(int argc, char** argv) : argc_(argc), argv_(argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == dataDirFlag) {
            if (i + 1 >= argc || argv[i + 1][0] == '\0') {
                error_ = "--data-dir needs a directory";
                return;
            }
            dataDirectory_ = QString::fromLocal8Bit(argv[++i]);
        } else if (arg.starts_with(dataDirFlag) && arg[dataDirFlag.size()] == '=') {
            dataDirectory_ = QString::fromLocal8Bit(arg.substr(dataDirFlag.size() + 1));
        }
    }
}

void CommandLine::addCommand(Command command) {
    commands_.push_back(std::move(command));
}

std::optional<int> CommandLine::runCommand() const {
    for (int i = 1; i < argc_; ++i) {
        if (std::string_view(argv_[i]) == dataDirFlag) {
            ++i; // its value is never a command
            continue;
        }
        for (const Command& command : commands_) {
            if (command.flag == argv_[i])
                return command.run(argc_ - i, argv_ + i);
        }
    }
    return std::nullopt;
}

std::string CommandLine::helpText() const {
    std::string text = "Usage: mozhou [--data-dir DIR]\n";
    for (const Command& command : commands_) {
        text += "       mozhou " + command.flag;
        if (!command.usage.empty())
            text += " " + command.usage;
        text += "\n";
    }
    text += "\n墨舟: a reader for Chinese web novels.\n\n";
    for (const Command& command : commands_)
        text += "  " + command.flag + "\n      " + command.summary + "\n";
    text += "  --data-dir DIR\n      keep 配置.txt and config.ini in DIR instead of the program's "
            "directory\n";
    return text;
}

} // namespace mz
