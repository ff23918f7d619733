#include "speech/speech_cache.h"

#include "speech/md5_hex.h"
#include "wave_fixture.h"

#include "support/file_size_limit.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace mz {
namespace {

std::string readAll(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<unreadable>";
    return file.readAll().toStdString();
}

const std::string mp3Frame("\xFF\xFB\x90\x64\x00\x00\x00\x00", 8);

TEST(SpeechCache, PathIsFolderDigestAndExtension) {
    const Text text = " \xD6\xD0\xCE\xC4 ";
    const QString folder = speechTempFolder();
    EXPECT_EQ(folder, QDir::tempPath() + "/");
    EXPECT_EQ(speechCachePath(folder, text, mp3Extension),
              folder + QString::fromLatin1(md5Hex(text)) + ".mp3");
    EXPECT_EQ(speechCachePath("/cache/", text, wavExtension),
              "/cache/" + QString::fromLatin1(md5Hex(text)) + ".wav");
    EXPECT_NE(speechCachePath(folder, text, mp3Extension),
              speechCachePath(folder, "\xD6\xD0\xCE\xC4", mp3Extension))
        << "the digest is of the untrimmed text";
}

TEST(SpeechCache, RecognisesAudio) {
    const struct {
        const char* name;
        std::string bytes;
        bool audio;
    } cases[] = {
        {"ID3 tag", "ID3\x04\x00\x00\x00\x00\x00\x00", true},
        {"MPEG-1 layer III frame", mp3Frame, true},
        {"MPEG-2 layer III frame", std::string("\xFF\xF3\x64\xC4", 4), true},
        {"WAV", test::silentWave(), true},
        {"empty", "", false},
        {"HTML error page", "<html><body>400 Bad Request</body></html>", false},
        {"HTML after a byte-order mark", "\xEF\xBB\xBF<!DOCTYPE html>", false},
        {"JSON error", "{\"error\":\"invalid appid\"}", false},
        {"frame sync with reserved layer", std::string("\xFF\xF9\x90\x64", 4), false},
        {"frame sync with bad bitrate", std::string("\xFF\xFB\xF0\x64", 4), false},
        {"truncated frame header", std::string("\xFF\xFB", 2), false},
        {"RIFF that is not WAVE",
         "RIFF\x04\x00\x00\x00"
         "AVI ",
         false},
        {"truncated RIFF", "RIFF", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(isAudioData(c.bytes), c.audio) << c.name;
}

TEST(SpeechCache, WritesAudioWholeAndReplaces) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("digest.mp3");
    ASSERT_TRUE(test::writeFile(path, "old"));
    const std::string audio = mp3Frame + std::string(100000, '\x55');
    EXPECT_TRUE(writeSpeechCache(path, audio));
    EXPECT_EQ(readAll(path), audio);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"digest.mp3"})
        << "no temporary file is left behind";
}

TEST(SpeechCache, RefusesWhatIsNotUsableAudio) {
    const struct {
        const char* name;
        std::string body;
    } cases[] = {
        {"failed or empty response", ""},
        {"HTML error page", "<html><head><title>Error</title></head></html>"},
        {"text", "hello"},
    };
    for (const auto& c : cases) {
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        const QString fresh = dir.filePath("fresh.mp3");
        EXPECT_FALSE(writeSpeechCache(fresh, c.body)) << c.name;
        EXPECT_FALSE(QFile::exists(fresh)) << c.name << ": no cache file, so the next try fetches";

        const QString kept = dir.filePath("kept.wav");
        ASSERT_TRUE(test::writeFile(kept, test::silentWave()));
        EXPECT_FALSE(writeSpeechCache(kept, c.body)) << c.name;
        EXPECT_EQ(readAll(kept), test::silentWave()) << c.name << ": the earlier file stays";
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"kept.wav"}) << c.name;
    }
}

TEST(SpeechCache, FailedWriteLeavesNothing) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    EXPECT_FALSE(writeSpeechCache(dir.filePath("missing/folder.mp3"), mp3Frame));
    EXPECT_FALSE(writeSpeechCache(QString(), mp3Frame)) << "no digest, no cache file";
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
}

// The disk takes only part of the audio: no cut-off file may pass for a cached answer.
TEST(SpeechCache, WriteCutShortLeavesNoFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string audio = mp3Frame + std::string(4096, '\0');
    const bool written = test::withFileSizeLimit(
        64, [&] { return writeSpeechCache(dir.filePath("cut.mp3"), audio); });
    EXPECT_FALSE(written);
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
}

} // namespace
} // namespace mz
