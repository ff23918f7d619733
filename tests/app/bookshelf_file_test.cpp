#include "app/bookshelf_file.h"

#include "text/qt_text.h"

#include "support/file_size_limit.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace mz {
namespace {

Text gbk(const char* utf8) {
    return fromQString(QString::fromUtf8(utf8));
}

Bytes fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : Bytes("<missing>");
}

void writeBytes(const QString& path, const Bytes& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

struct ParseCase {
    const char* name;
    Bytes file;
    std::vector<BookshelfEntry> rows; // top row first
    bool lossy;
};

class BookshelfParse : public testing::TestWithParam<ParseCase> {};

TEST_P(BookshelfParse, GivesRowsAndTellsWhetherASaveWouldKeepTheBytes) {
    const ParseCase& c = GetParam();
    const ParsedBookshelf parsed = parseBookshelf(c.file);
    EXPECT_EQ(parsed.rows, c.rows);
    EXPECT_EQ(parsed.lossy, c.lossy);
    if (!c.lossy) {
        EXPECT_EQ(formatBookshelf(parsed.rows), c.file) << "a load and a save must change no byte";
    }
}

using namespace std::string_literals;

INSTANTIATE_TEST_SUITE_P(
    Cases, BookshelfParse,
    testing::Values(ParseCase{"EmptyFileIsEmptyShelf", "", {}, false},
                    ParseCase{"LastLineIsTopRow",
                              "b1----b2----b3----b4----\r\nt1----t2----t3----t4----\r\n",
                              {{"t1", "t2", "t3", "t4"}, {"b1", "b2", "b3", "b4"}},
                              false},
                    ParseCase{"NoCrLfLoadsNothing", "a----b----c----d----", {}, true},
                    ParseCase{"TextAfterLastCrLfIsNotLoaded",
                              "a----b----c----d----\r\ne----f----g----h----",
                              {{"a", "b", "c", "d"}},
                              true},
                    ParseCase{"EmptyAuthorAndSource",
                              "/x.txt----t------------\r\n",
                              {{"/x.txt", "t", "", ""}},
                              false},
                    ParseCase{"HyphenEndingAFieldMovesToTheNextField",
                              "u----t-----a--------\r\n",
                              {{"u", "t", "-a", ""}},
                              false},
                    ParseCase{"BytesAfterNulAreIgnored",
                              "a----b----c----d----\r\n\0e----f----g----h----\r\n"s,
                              {{"a", "b", "c", "d"}},
                              true},
                    ParseCase{"LinesEndedByLfAloneRunIntoTheNextLine",
                              "a----b----c----d----\ne----f----g----h----\r\n",
                              {{"a", "b", "c", "d"}},
                              true},
                    ParseCase{"ShortLineGetsEmptyFields", "a----b\r\n", {{"a", "b", "", ""}}, true},
                    ParseCase{"EmptyLineIsAnEmptyRow", "\r\n", {{"", "", "", ""}}, true},
                    ParseCase{"FieldsAfterTheFourthAreIgnored",
                              "a----b----c----d----e----\r\n",
                              {{"a", "b", "c", "d"}},
                              true},
                    ParseCase{"IdenticalLinesGiveIdenticalRows",
                              "a----b----c----d----\r\na----b----c----d----\r\n",
                              {{"a", "b", "c", "d"}, {"a", "b", "c", "d"}},
                              false},
                    ParseCase{"GbkFieldsKeepTheirBytes",
                              gbk("D:\\小说\\红楼梦.txt----红楼梦----曹雪芹----笔趣阁----\r\n"),
                              {{gbk("D:\\小说\\红楼梦.txt"), gbk("红楼梦"), gbk("曹雪芹"),
                                gbk("笔趣阁")}},
                              false},
                    // A "-" trail byte must not start a separator inside a double-byte character.
                    ParseCase{"SeparatorNeverStartsOnASecondByte",
                              "\x81-------b----c----d----\r\n",
                              {{"\x81-", "--b", "c", "d"}},
                              false}),
    [](const testing::TestParamInfo<ParseCase>& info) { return info.param.name; });

TEST(BookshelfFormat, WritesBottomRowFirstWithoutNul) {
    const Bytes bytes = formatBookshelf({{"t1", "t2", "", ""}, {"b1", "b2", "b3", "b4"}});
    EXPECT_EQ(bytes, "b1----b2----b3----b4----\r\nt1----t2------------\r\n");
    EXPECT_EQ(bytes.find('\0'), Bytes::npos);
    EXPECT_EQ(formatBookshelf({}), "");
}

class BookshelfWrite : public testing::Test {
  protected:
    QTemporaryDir dir;
    QString path() const { return dir.filePath(QStringLiteral("配置.txt")); }
};

TEST_F(BookshelfWrite, ReplacesTheWholeFile) {
    writeBytes(path(), Bytes(1000, 'x'));
    ASSERT_TRUE(writeBookshelfFile(path(), "a----b----c----d----\r\n", false).ok);
    EXPECT_EQ(fileBytes(path()), "a----b----c----d----\r\n");
    EXPECT_FALSE(QFile::exists(path() + ".bak"));
}

TEST_F(BookshelfWrite, KeepsTheFormerFileWhenAsked) {
    writeBytes(path(), "old bytes that were no row");
    ASSERT_TRUE(writeBookshelfFile(path(), "", true).ok);
    EXPECT_EQ(fileBytes(path()), "");
    EXPECT_EQ(fileBytes(path() + ".bak"), "old bytes that were no row");
}

TEST_F(BookshelfWrite, KeepingAFormerFileThatIsNotThereIsNoError) {
    EXPECT_TRUE(writeBookshelfFile(path(), "x", true).ok);
    EXPECT_FALSE(QFile::exists(path() + ".bak"));
}

TEST_F(BookshelfWrite, FailsWithAReasonWhenTheDirectoryIsAFile) {
    writeBytes(dir.filePath("plain"), "not a directory");
    const WriteResult result = writeBookshelfFile(dir.filePath("plain/配置.txt"), "x", false);
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.error.isEmpty());
}

// A file-size limit stops writes even for root: the write fails half-way, and the
// former file must come through untouched.
TEST_F(BookshelfWrite, FailedWriteLeavesTheFormerFileIntact) {
    const Bytes former = "a----b----c----d----\r\n";
    writeBytes(path(), former);
    const WriteResult result = test::withFileSizeLimit(
        64, [&] { return writeBookshelfFile(path(), Bytes(4096, 'y'), true); });
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.error.isEmpty());
    EXPECT_EQ(fileBytes(path()), former);
    const QStringList leftovers =
        QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QString& name : leftovers)
        EXPECT_TRUE(name == "配置.txt" || name == "配置.txt.bak") << name.toStdString();
}

TEST_F(BookshelfWrite, MissingFileReadsAsNoBytes) {
    EXPECT_EQ(readBookshelfFile(path()), "");
}

} // namespace
} // namespace mz
