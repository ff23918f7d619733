#pragma once

// Where "配置.txt" and "config.ini" live: the program's directory, unless the
// user names another or the program's directory cannot be written (an installed
// binary), in which case the per-user data directory is used.

#include <QString>

namespace mz {

class DataDirectory {
  public:
    enum class Origin { CommandLine, ProgramDirectory, UserDataDirectory };

    // overridePath: the --data-dir value, empty when none was given. Creates nothing.
    static DataDirectory resolve(const QString& overridePath, const QString& programDirectory);

    QString path() const { return path_; }
    Origin origin() const { return origin_; }
    // One line for --help: the directory and why it was chosen.
    QString description() const;

    QString bookshelfPath() const; // 配置.txt
    QString settingsPath() const;  // config.ini, with the platform's separators
    QString sitesPath() const;     // sites.ini: where the online sites live

  private:
    DataDirectory(QString path, Origin origin) : path_(std::move(path)), origin_(origin) {}

    QString path_; // without a trailing separator
    Origin origin_;
};

} // namespace mz
