#include "speech/play_audio_file.h"

#include "speech/media_audio_player.h"
#include "speech/recording_audio_player.h"
#include "wave_fixture.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace mz {
namespace {

const Text aliasA = "\xB0\xA1\xB0\xA2";
const Text aliasB = "\xDA\xDA\xB0\xB0";

TEST(PlayAudioFile, SendsCloseOpenPlayInOrder) {
    RecordingAudioPlayer player;
    EXPECT_TRUE(playAudioFile(player, "/tmp/x y.mp3", aliasA));
    const std::vector<Text> expected = {"close " + aliasA, "open \"/tmp/x y.mp3\" alias " + aliasA,
                                        "play " + aliasA};
    EXPECT_EQ(player.commands(), expected);
}

TEST(PlayAudioFile, FailsWhenTheFileCannotBeOpened) {
    RecordingAudioPlayer player;
    player.setOpenSucceeds(false);
    EXPECT_FALSE(playAudioFile(player, "/tmp/broken.mp3", aliasA));
    EXPECT_EQ(player.commands().size(), 3u) << "play is still sent, and fails";
}

class MediaAudioPlayerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        wave = dir.filePath("silence.wav");
        ASSERT_TRUE(test::writeFile(wave, test::silentWave()));
    }

    QTemporaryDir dir;
    QString wave;
    MediaAudioPlayer player;
};

TEST_F(MediaAudioPlayerTest, CommandsOnUnknownAliasesFail) {
    EXPECT_FALSE(player.close(aliasA));
    EXPECT_FALSE(player.play(aliasA));
    EXPECT_FALSE(player.open(dir.filePath("missing.wav"), aliasA));
    EXPECT_FALSE(player.play(aliasA)) << "a failed open leaves no device";
    EXPECT_FALSE(playAudioFile(player, dir.filePath("missing.wav"), aliasA));
}

TEST_F(MediaAudioPlayerTest, AliasesNameOpenDevices) {
    EXPECT_TRUE(player.open(wave, aliasA));
    EXPECT_FALSE(player.open(wave, aliasA)) << "an alias in use cannot be opened again";
    EXPECT_TRUE(player.close(aliasA));
    EXPECT_FALSE(player.close(aliasA));
    EXPECT_TRUE(player.open(wave, aliasA)) << "a closed alias is free again";
}

TEST_F(MediaAudioPlayerTest, PlaybacksUnderTwoAliasesStayOpenSideBySide) {
    EXPECT_TRUE(playAudioFile(player, wave, aliasA));
    EXPECT_TRUE(playAudioFile(player, wave, aliasB));
    // The second playback's close named its own alias: the first device is still open.
    EXPECT_TRUE(player.close(aliasA));
    EXPECT_TRUE(player.close(aliasB));
}

} // namespace
} // namespace mz
