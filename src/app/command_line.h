#pragma once

// The program's arguments. A command (--help, --version, and modes that other
// parts add with addCommand) answers on the terminal and ends the run without a
// window; without one the windows open, with the options parsed here.

#include <QString>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace mz {

class CommandLine {
  public:
    // Gets the arguments from the command's flag on: argv[0] is the flag.
    using Run = std::function<int(int argc, char** argv)>;

    struct Command {
        std::string flag;    // "--version"
        std::string usage;   // arguments after the flag, for --help: "FILE [--encoding E]"
        std::string summary; // one line for --help
        Run run;
    };

    CommandLine(int argc, char** argv);

    void addCommand(Command command);

    // The exit code of the first command named in the arguments, or nothing when
    // none is named and the windows should open.
    std::optional<int> runCommand() const;

    // Set when the options cannot be used (--data-dir without a directory).
    const std::string& error() const { return error_; }
    // The --data-dir value, empty when not given.
    const QString& dataDirectory() const { return dataDirectory_; }

    // Usage, commands and options, without the data directory line.
    std::string helpText() const;

  private:
    int argc_;
    char** argv_;
    std::vector<Command> commands_;
    QString dataDirectory_;
    std::string error_;
};

} // namespace mz
