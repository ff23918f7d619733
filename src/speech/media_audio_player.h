#pragma once

#include "speech/audio_player.h"

#include <map>
#include <memory>

namespace mz {

// Plays through Qt Multimedia: one media player with its own audio output per
// alias. Devices stay open until closed or until this player is destroyed, which
// the program does at its end.
class MediaAudioPlayer : public AudioPlayer {
  public:
    MediaAudioPlayer();
    ~MediaAudioPlayer() override;

    bool close(const Text& alias) override;
    bool open(const QString& path, const Text& alias) override;
    bool play(const Text& alias) override;

  private:
    struct Device;

    std::map<Text, std::unique_ptr<Device>> devices_;
};

} // namespace mz
