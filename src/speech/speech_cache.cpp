#include "speech/speech_cache.h"

#include "speech/md5_hex.h"
#include "text/whole_file.h"

#include <QDir>

namespace mz {
namespace {

bool isMp3(std::string_view bytes) {
    if (bytes.substr(0, 3) == "ID3")
        return true;
    if (bytes.size() < 4)
        return false;
    const auto b1 = static_cast<unsigned char>(bytes[1]);
    const auto b2 = static_cast<unsigned char>(bytes[2]);
    const bool frameSync = static_cast<unsigned char>(bytes[0]) == 0xFF && (b1 & 0xE0) == 0xE0;
    const bool versionValid = ((b1 >> 3) & 0x3) != 0x1;
    const bool layerValid = ((b1 >> 1) & 0x3) != 0x0;
    const bool bitrateValid = (b2 >> 4) != 0xF;
    const bool sampleRateValid = ((b2 >> 2) & 0x3) != 0x3;
    return frameSync && versionValid && layerValid && bitrateValid && sampleRateValid;
}

bool isWave(std::string_view bytes) {
    return bytes.size() >= 12 && bytes.substr(0, 4) == "RIFF" && bytes.substr(8, 4) == "WAVE";
}

} // namespace

QString speechTempFolder() {
    return QDir::tempPath() + QLatin1Char('/');
}

QString speechCachePath(const QString& folder, std::string_view text, std::string_view extension) {
    const Text digest = md5Hex(text);
    if (digest.empty())
        return {};
    return folder + QString::fromLatin1(digest) +
           QString::fromLatin1(extension.data(), static_cast<qsizetype>(extension.size()));
}

bool isAudioData(std::string_view bytes) {
    return isMp3(bytes) || isWave(bytes);
}

bool writeSpeechCache(const QString& path, std::string_view audio) {
    if (path.isEmpty() || !isAudioData(audio))
        return false;
    return writeWholeFile(path, audio).ok;
}

} // namespace mz
