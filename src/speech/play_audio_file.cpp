#include "speech/play_audio_file.h"

namespace mz {

bool playAudioFile(AudioPlayer& player, const QString& path, const Text& alias) {
    // A fresh alias is closed first only to free it; the result does not matter,
    // and a failed open shows in the play that follows.
    player.close(alias);
    player.open(path, alias);
    return player.play(alias);
}

} // namespace mz
