#include "speech/offline_speech.h"

#include "speech/speech_cache.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdint>

namespace mz {
namespace {

std::uint32_t readLe(const Bytes& bytes, size_t offset, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[offset + i]);
    return value;
}

#define MZ_REQUIRE_MANDARIN_VOICE()                                                                \
    do {                                                                                           \
        if (!offlineSpeechAvailable())                                                             \
            GTEST_SKIP() << "espeak-ng or its Mandarin voice data (espeak-ng-data) is missing";    \
    } while (false)

TEST(OfflineSpeech, SynthesisesAProperWave) {
    MZ_REQUIRE_MANDARIN_VOICE();
    const Bytes wave = synthesizeWav("\xD6\xD0\xCE\xC4\xC0\xCA\xB6\xC1 123"); // 中文朗读
    ASSERT_GT(wave.size(), 44u + 1000u);
    EXPECT_EQ(wave.substr(0, 4), "RIFF");
    EXPECT_EQ(readLe(wave, 4, 4), wave.size() - 8);
    EXPECT_EQ(wave.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(readLe(wave, 16, 4), 16u);
    EXPECT_EQ(readLe(wave, 20, 2), 1u) << "PCM";
    EXPECT_EQ(readLe(wave, 22, 2), 1u) << "mono";
    const std::uint32_t rate = readLe(wave, 24, 4);
    EXPECT_GE(rate, 8000u);
    EXPECT_EQ(readLe(wave, 28, 4), rate * 2);
    EXPECT_EQ(readLe(wave, 32, 2), 2u);
    EXPECT_EQ(readLe(wave, 34, 2), 16u);
    EXPECT_EQ(wave.substr(36, 4), "data");
    EXPECT_EQ(readLe(wave, 40, 4), wave.size() - 44);
    EXPECT_NE(wave.find_first_not_of('\0', 44), Bytes::npos) << "not silence only";

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("spoken.wav");
    EXPECT_TRUE(writeSpeechCache(path, wave)) << "the cache takes the made audio";
    EXPECT_EQ(QFile(path).size(), static_cast<qint64>(wave.size()));
}

TEST(OfflineSpeech, LongerTextGivesLongerSpeech) {
    MZ_REQUIRE_MANDARIN_VOICE();
    const Bytes one = synthesizeWav("\xD6\xD0");
    const Bytes many = synthesizeWav("\xD6\xD0\xCE\xC4\xD6\xD0\xCE\xC4\xD6\xD0\xCE\xC4");
    ASSERT_FALSE(one.empty());
    EXPECT_GT(many.size(), one.size());
}

TEST(OfflineSpeech, EmptyTextGivesNothing) {
    EXPECT_TRUE(synthesizeWav("").empty());
}

} // namespace
} // namespace mz
