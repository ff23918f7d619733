#include "app/data_directory.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace mz {
namespace {

TEST(DataDirectory, ProgramDirectoryByDefault) {
    QTemporaryDir program;
    const DataDirectory dir = DataDirectory::resolve(QString(), program.path());
    EXPECT_EQ(dir.origin(), DataDirectory::Origin::ProgramDirectory);
    EXPECT_EQ(dir.path(), program.path());
    EXPECT_EQ(dir.bookshelfPath(), QDir::toNativeSeparators(program.path() + "/配置.txt"));
    EXPECT_EQ(dir.settingsPath(), QDir::toNativeSeparators(program.path() + "/config.ini"));
    EXPECT_TRUE(dir.description().contains(QDir::toNativeSeparators(program.path())));
}

TEST(DataDirectory, CommandLineWinsAndLosesItsTrailingSeparator) {
    QTemporaryDir program;
    const DataDirectory dir = DataDirectory::resolve("/some/where/", program.path());
    EXPECT_EQ(dir.origin(), DataDirectory::Origin::CommandLine);
    EXPECT_EQ(dir.path(), "/some/where");
    EXPECT_FALSE(QFile::exists("/some/where")) << "resolving creates nothing";
}

// Root may write anywhere permissions allow, so "not writable" is a program
// directory that is not a directory one can create files in.
TEST(DataDirectory, UnwritableProgramDirectoryFallsBackToTheUserDirectory) {
    QTemporaryDir temp;
    QFile plain(temp.filePath("plain"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    const DataDirectory dir = DataDirectory::resolve(QString(), temp.filePath("plain/bin"));
    EXPECT_EQ(dir.origin(), DataDirectory::Origin::UserDataDirectory);
    EXPECT_EQ(dir.path(), QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    EXPECT_TRUE(dir.description().contains("per-user"));
}

} // namespace
} // namespace mz
