#pragma once

// Speech made on this machine with espeak-ng's Mandarin voice: the fallback when
// no speech service is configured.

#include "text/text.h"

namespace mz {

// True when espeak-ng starts and has Mandarin voice data.
bool offlineSpeechAvailable();

// The GBK text spoken as a 16-bit mono PCM WAV file (with its RIFF header);
// empty when the text is empty, espeak-ng or its voice is missing, or nothing
// was produced. Safe to call from any thread: calls are serialised.
Bytes synthesizeWav(const Text& text);

} // namespace mz
