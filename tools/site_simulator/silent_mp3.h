#pragma once

#include <string>

namespace mz::sim {

// MPEG-1 Layer III, 128 kbit/s, 44.1 kHz, mono: frames whose side information
// and main data are all zero, which decoders play as silence (26 ms each).
std::string silentMp3(int frames);

constexpr int mp3FrameBytes = 417;

} // namespace mz::sim
