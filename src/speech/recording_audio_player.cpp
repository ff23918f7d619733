#include "speech/recording_audio_player.h"

#include "text/qt_text.h"

namespace mz {

bool RecordingAudioPlayer::close(const Text& alias) {
    commands_.push_back("close " + alias);
    return openAliases_.erase(alias) > 0;
}

bool RecordingAudioPlayer::open(const QString& path, const Text& alias) {
    commands_.push_back("open \"" + fromQString(path) + "\" alias " + alias);
    if (!openSucceeds_)
        return false;
    return openAliases_.insert(alias).second;
}

bool RecordingAudioPlayer::play(const Text& alias) {
    commands_.push_back("play " + alias);
    return openAliases_.count(alias) > 0;
}

} // namespace mz
