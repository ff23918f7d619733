#include "silent_mp3.h"

namespace mz::sim {

std::string silentMp3(int frames) {
    // Sync, MPEG-1, Layer III, no CRC | 128 kbit/s, 44.1 kHz, no padding | mono.
    const char header[] = {'\xFF', '\xFB', '\x90', '\xC4'};
    std::string frame(mp3FrameBytes, '\0');
    frame.replace(0, sizeof header, header, sizeof header);
    std::string audio;
    audio.reserve(static_cast<size_t>(frames > 0 ? frames : 0) * frame.size());
    for (int i = 0; i < frames; ++i)
        audio += frame;
    return audio;
}

} // namespace mz::sim
