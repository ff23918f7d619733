#include "app/data_directory.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace mz {
namespace {

// Tried by creating a file: permission bits alone do not tell (root, ACLs,
// read-only mounts).
bool isWritableDirectory(const QString& path) {
    if (!QFileInfo(path).isDir())
        return false;
    QTemporaryFile probe(path + QStringLiteral("/.mozhou-write-test-XXXXXX"));
    return probe.open();
}

QString withoutTrailingSeparator(const QString& path) {
    QString clean = QDir::cleanPath(path);
    return clean.size() > 1 && clean.endsWith(QLatin1Char('/')) ? clean.chopped(1) : clean;
}

} // namespace

DataDirectory DataDirectory::resolve(const QString& overridePath, const QString& programDirectory) {
    if (!overridePath.isEmpty()) {
        return {withoutTrailingSeparator(QDir(overridePath).absolutePath()), Origin::CommandLine};
    }
    if (isWritableDirectory(programDirectory))
        return {withoutTrailingSeparator(programDirectory), Origin::ProgramDirectory};
    return {
        withoutTrailingSeparator(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)),
        Origin::UserDataDirectory};
}

QString DataDirectory::description() const {
    static const char* const reasons[] = {"given by --data-dir", "the program's directory",
                                          "per-user data directory: the program's directory "
                                          "is not writable"};
    return QStringLiteral("Data directory: %1 (%2)")
        .arg(QDir::toNativeSeparators(path_), QLatin1String(reasons[static_cast<int>(origin_)]));
}

QString DataDirectory::bookshelfPath() const {
    return QDir::toNativeSeparators(path_ + QStringLiteral("/配置.txt"));
}

QString DataDirectory::settingsPath() const {
    return QDir::toNativeSeparators(path_ + QStringLiteral("/config.ini"));
}

QString DataDirectory::sitesPath() const {
    return QDir::toNativeSeparators(path_ + QStringLiteral("/sites.ini"));
}

} // namespace mz
