#include "reader/chapters_command.h"

#include "gbk.h"
#include "support/file_bytes.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace mz {
namespace {

struct CommandRun {
    int status = -1;
    std::string out;
    std::string err;
};

std::string contents(std::FILE* file) {
    std::rewind(file);
    std::string text;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        text.append(buffer, n);
    std::fclose(file);
    return text;
}

CommandRun run(std::vector<std::string> args) {
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    CommandRun r;
    r.status = runChaptersCommand(static_cast<int>(argv.size()), argv.data(), out, err);
    r.out = contents(out);
    r.err = contents(err);
    return r;
}

class ChaptersCommand : public ::testing::Test {
  protected:
    std::string write(const std::string& name, const std::string& bytes) {
        return test::writeBytes(dir_.filePath(QString::fromStdString(name)).toStdString(), bytes)
            .string();
    }

    QTemporaryDir dir_;
};

TEST_F(ChaptersCommand, PrintsEachRowInUtf8WithoutItsCr) {
    const std::string book = "书名\r\n第一回 甲\r\n正文\r\n第二回 乙\r\n";
    const struct {
        std::string bytes;
        std::vector<std::string> options;
    } cases[] = {
        {test::gbk(book), {"--encoding", "ansi"}},
        {book, {"--encoding", "utf8"}},
        {test::gbk(book), {}}, // auto by default
        {"\xEF\xBB\xBF" + book, {"--encoding", "auto"}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args{"--chapters", write("book.txt", c.bytes)};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const CommandRun r = run(args);
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.out, "书名\n第一回 甲\n第二回 乙\n");
    }
}

TEST_F(ChaptersCommand, OpeningRowWithoutCrLfIsAnEmptyLine) {
    const CommandRun r =
        run({"--chapters", write("lf.TXT", "书名\n第一章 甲\n"), "--encoding", "utf8"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "\n第一章 甲\n");
}

TEST_F(ChaptersCommand, ReportsFailuresOnStandardError) {
    const std::string book = write("book.txt", "a");
    const struct {
        std::vector<std::string> args;
        int status;
    } cases[] = {
        {{"--chapters"}, 2},
        {{"--chapters", book, "--encoding", "latin1"}, 2},
        {{"--chapters", book, "--verbose"}, 2},
        {{"--chapters", dir_.filePath("absent.txt").toStdString()}, 1},
        {{"--chapters", write("book.md", "a")}, 1},
        // The text ends at a NUL in the first of three pieces: the load stops at 40%.
        {{"--chapters", write("nul.txt", "a" + std::string(1, '\0') + std::string(249998, 'b')),
          "--encoding", "ansi"},
         1},
    };
    for (const auto& c : cases) {
        const CommandRun r = run(c.args);
        EXPECT_EQ(r.status, c.status) << c.args.back();
        EXPECT_EQ(r.out, "") << c.args.back();
        EXPECT_NE(r.err, "") << c.args.back();
    }
    EXPECT_NE(run(cases[5].args).err.find("40%"), std::string::npos);
}

} // namespace
} // namespace mz
