#pragma once

#include "speech/audio_player.h"

namespace mz {

// Sends "close", "open" and "play" for alias, in that order; true when play
// started. Nothing waits for the playback or closes the device afterwards.
bool playAudioFile(AudioPlayer& player, const QString& path, const Text& alias);

} // namespace mz
