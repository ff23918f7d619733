#include "app/signal_handler_probe.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <csignal>

namespace mz {
namespace {

using test::catchesSignal;

QProcess* startProgram(QObject* parent, const QStringList& arguments, const QString& platform) {
    auto* process = new QProcess(parent);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", platform);
    process->setProcessEnvironment(environment);
    process->start(QStringLiteral(MOZHOU_EXECUTABLE), arguments);
    return process;
}

class EndingSignal : public testing::TestWithParam<int> {};

TEST_P(EndingSignal, ClosesTheWindowsSoTheBookshelfIsSaved) {
    QTemporaryDir dir;
    const QString shelf = dir.filePath("配置.txt");
    {
        QFile file(shelf);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        // A short line: the save writes it out in full, so a save shows in the file.
        file.write("/book.txt----title\r\n");
    }
    QObject owner;
    QProcess* program = startProgram(&owner, {"--data-dir", dir.path()}, "offscreen");
    ASSERT_TRUE(program->waitForStarted(10000));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return catchesSignal(program->processId(), GetParam()); }, 20000))
        << program->readAllStandardError().toStdString();
    ::kill(static_cast<pid_t>(program->processId()), GetParam());
    ASSERT_TRUE(program->waitForFinished(20000));
    EXPECT_EQ(program->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program->exitCode(), 0);

    QFile saved(shelf);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), QByteArray("/book.txt----title------------\r\n"));
    QFile backup(shelf + ".bak");
    ASSERT_TRUE(backup.open(QIODevice::ReadOnly));
    EXPECT_EQ(backup.readAll(), QByteArray("/book.txt----title\r\n"));
}

INSTANTIATE_TEST_SUITE_P(Signals, EndingSignal, testing::Values(SIGTERM, SIGINT, SIGHUP),
                         [](const testing::TestParamInfo<int>& info) {
                             return std::string(strsignal(info.param)).substr(0, 4) +
                                    std::to_string(info.param);
                         });

// With a platform that cannot open windows, any attempt to open one fails the run.
TEST(TerminalCommands, AnswerWithoutOpeningAWindow) {
    QTemporaryDir dir;
    QObject owner;
    QProcess* help = startProgram(&owner, {"--data-dir", dir.path(), "--help"}, "no-such-platform");
    ASSERT_TRUE(help->waitForFinished(10000));
    EXPECT_EQ(help->exitCode(), 0);
    const QString text = QString::fromLocal8Bit(help->readAllStandardOutput());
    EXPECT_TRUE(text.contains("--data-dir DIR"));
    EXPECT_TRUE(text.contains("Data directory: " + dir.path() + " (given by --data-dir)"))
        << text.toStdString();

    QProcess* version = startProgram(&owner, {"--version"}, "no-such-platform");
    ASSERT_TRUE(version->waitForFinished(10000));
    EXPECT_EQ(version->exitCode(), 0);
    EXPECT_TRUE(version->readAllStandardOutput().startsWith("mozhou "));
}

} // namespace
} // namespace mz
