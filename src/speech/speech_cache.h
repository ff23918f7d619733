#pragma once

// Spoken texts are kept as audio files in the temporary folder, named after the
// digest of the text, so a text is fetched or synthesised only once per machine.
// The cache keeps only usable audio: a file there is always whole and playable.

#include "text/text.h"

#include <QString>

#include <string_view>

namespace mz {

inline constexpr std::string_view mp3Extension = ".mp3"; // from the speech service
inline constexpr std::string_view wavExtension = ".wav"; // made on this machine

// Temporary folder + md5Hex of the text's own GBK bytes (untrimmed) + extension.
// Empty when no digest can be made: without one every text would share one file.
QString speechCachePath(std::string_view text, std::string_view extension);

// True when bytes begin as an MP3 (an ID3 tag or an MPEG audio frame header) or
// as a RIFF WAVE file does.
bool isAudioData(std::string_view bytes);

// Writes audio to path whole or not at all (a temporary name, then a rename),
// replacing any file there. Refuses empty bytes (a failed or empty response) and
// bytes that are not audio (an error page), leaving any earlier file untouched.
bool writeSpeechCache(const QString& path, std::string_view audio);

} // namespace mz
