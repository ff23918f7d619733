#include "reader/profile_file.h"
#include "reader/reader_settings.h"

#include "gbk.h"

#include <gtest/gtest.h>

#include "support/file_size_limit.h"

#include <QFile>
#include <QTemporaryDir>

namespace mz {
namespace {

using test::gbk;

class SettingsFile : public ::testing::Test {
  protected:
    QString path() const { return dir_.filePath(QStringLiteral("config.ini")); }

    void write(const std::string& bytes) {
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    }

    std::string read() const {
        QFile file(path());
        return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
    }

    QTemporaryDir dir_;
};

TEST(ProfileInteger, ReadsLikeTheDecimalConversion) {
    const struct {
        const char* text;
        int value;
    } cases[] = {
        {"16777215", 16777215},
        {"  42", 42},
        {"-7", -7},
        {"+8", 8},
        {"12px", 12},
        {"abc", 0},
        {"", 0},
        {"-", 0},
        {"99999999999", 2147483647},
    };
    for (const auto& c : cases)
        EXPECT_EQ(profileInteger(c.text), c.value) << c.text;
}

TEST_F(SettingsFile, MissingFileGivesNothingToApply) {
    const ReaderSettings settings = readReaderSettings(path());
    EXPECT_FALSE(settings.fontName || settings.fontSize || settings.textColor ||
                 settings.backgroundColor);
}

TEST_F(SettingsFile, RoundTripInGbk) {
    ASSERT_TRUE(writeReaderSettings(path(), gbk("宋体"), 14, 255, 16777215));
    EXPECT_EQ(read(),
              gbk("[字体]\r\n字体=宋体\r\n字体大小=14\r\n文本颜色=255\r\n背景颜色=16777215\r\n"));
    const ReaderSettings settings = readReaderSettings(path());
    EXPECT_EQ(settings.fontName, gbk("宋体"));
    EXPECT_EQ(settings.fontSize, 14);
    EXPECT_EQ(settings.textColor, 255);
    EXPECT_EQ(settings.backgroundColor, 16777215);
}

TEST_F(SettingsFile, EmptyValuesChangeNothingAndLettersCountAsZero) {
    write(gbk("[字体]\r\n字体=\r\n字体大小=\r\n文本颜色=red\r\n背景颜色=white\r\n"));
    const ReaderSettings settings = readReaderSettings(path());
    EXPECT_FALSE(settings.fontName);
    EXPECT_FALSE(settings.fontSize);
    EXPECT_EQ(settings.textColor, 0);
    EXPECT_EQ(settings.backgroundColor, 0);
}

TEST_F(SettingsFile, WritingKeepsOtherLinesAsTheyAre) {
    write(gbk("; 注释\n[other]\nkey = v\n\n[字体]\n字体 = 黑体\nextra=1\n\n[tail]\nx=y"));
    ASSERT_TRUE(writeReaderSettings(path(), gbk("楷体"), 12, 0, 1));
    EXPECT_EQ(read(), gbk("; 注释\n[other]\nkey = v\n\n[字体]\n字体=楷体\nextra=1\n"
                          "字体大小=12\r\n文本颜色=0\r\n背景颜色=1\r\n\n[tail]\nx=y"));
}

TEST_F(SettingsFile, SectionsAndKeysIgnoreAsciiCase) {
    write("[Fonts]\r\nSize=3\r\n");
    ProfileFile file(path());
    ASSERT_TRUE(file.load());
    EXPECT_EQ(file.value("FONTS", "size"), "3");
    EXPECT_EQ(file.value("fonts", "colour", "none"), "none");
    file.setValue("fonts", "SIZE", "4");
    file.setValue("NEW", "k", "v");
    ASSERT_TRUE(file.save());
    EXPECT_EQ(read(), "[Fonts]\r\nSize=4\r\n[NEW]\r\nk=v\r\n"); // the key keeps its spelling
}

TEST_F(SettingsFile, LongValuesAreCutToTheReadBuffer) {
    write("[s]\r\nk=" + std::string(20000, 'x') + "\r\n");
    ProfileFile file(path());
    ASSERT_TRUE(file.load());
    EXPECT_EQ(file.value("s", "k").size(), 10239u);
}

TEST_F(SettingsFile, WriteIntoAMissingFolderIsReported) {
    EXPECT_FALSE(
        writeReaderSettings(dir_.filePath(QStringLiteral("gone/config.ini")), "x", 1, 2, 3));
}

// A file-size limit stops writes even for root: the write fails half-way, and the
// former file must come through untouched.
TEST_F(SettingsFile, FailedWriteLeavesTheFormerFile) {
    write(gbk("[字体]\r\n字体=宋体\r\n"));
    const bool written = test::withFileSizeLimit(
        16, [&] { return writeReaderSettings(path(), gbk("一个名字很长很长的字体"), 1, 2, 3); });
    EXPECT_FALSE(written);
    EXPECT_EQ(read(), gbk("[字体]\r\n字体=宋体\r\n"));
}

} // namespace
} // namespace mz
