#pragma once

#include "speech/audio_player.h"

#include <set>
#include <vector>

namespace mz {

// Plays nothing: records each command in its command-string form ("close A",
// "open \"path\" alias A", "play A") and keeps track of the open aliases, so
// tests can check what reached the player.
class RecordingAudioPlayer : public AudioPlayer {
  public:
    bool close(const Text& alias) override;
    bool open(const QString& path, const Text& alias) override;
    bool play(const Text& alias) override;

    const std::vector<Text>& commands() const { return commands_; }
    // When false, every open fails as for a file that cannot be played.
    void setOpenSucceeds(bool succeeds) { openSucceeds_ = succeeds; }

  private:
    std::vector<Text> commands_;
    std::set<Text> openAliases_;
    bool openSucceeds_ = true;
};

} // namespace mz
