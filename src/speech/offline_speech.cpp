#include "speech/offline_speech.h"

#include "text/code_page.h"

#include <espeak-ng/speak_lib.h>

#include <cstdint>
#include <mutex>
#include <vector>

namespace mz {
namespace {

// espeak-ng keeps one global synthesiser: set it up once, use it one call at a time.
std::mutex& espeakMutex() {
    static std::mutex mutex;
    return mutex;
}

int collectSamples(short* samples, int count, espeak_EVENT* events) {
    if (samples && count > 0) {
        auto* collected = static_cast<std::vector<std::int16_t>*>(events->user_data);
        collected->insert(collected->end(), samples, samples + count);
    }
    return 0; // go on synthesising
}

// Sample rate in Hz, or 0 when espeak-ng cannot start. Without the don't-exit
// option a missing data folder would end the whole program.
int espeakSampleRate() {
    static const int rate = [] {
        const int hz =
            espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr, espeakINITIALIZE_DONT_EXIT);
        if (hz <= 0)
            return 0;
        espeak_SetSynthCallback(collectSamples);
        return hz;
    }();
    return rate;
}

bool selectMandarinVoice() {
    return espeak_SetVoiceByName("cmn") == EE_OK || espeak_SetVoiceByName("zh") == EE_OK;
}

void appendLe(Bytes& bytes, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i)
        bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
}

Bytes waveFile(const std::vector<std::int16_t>& samples, int sampleRate) {
    constexpr std::uint32_t channels = 1;
    constexpr std::uint32_t bytesPerSample = 2;
    const auto dataSize = static_cast<std::uint32_t>(samples.size() * bytesPerSample);
    Bytes wave;
    wave.reserve(44 + dataSize);
    wave += "RIFF";
    appendLe(wave, 36 + dataSize, 4);
    wave += "WAVEfmt ";
    appendLe(wave, 16, 4); // format chunk size
    appendLe(wave, 1, 2);  // PCM
    appendLe(wave, channels, 2);
    appendLe(wave, sampleRate, 4);
    appendLe(wave, sampleRate * channels * bytesPerSample, 4); // bytes per second
    appendLe(wave, channels * bytesPerSample, 2);              // block align
    appendLe(wave, 8 * bytesPerSample, 2);                     // bits per sample
    wave += "data";
    appendLe(wave, dataSize, 4);
    for (std::int16_t sample : samples)
        appendLe(wave, static_cast<std::uint16_t>(sample), 2);
    return wave;
}

} // namespace

bool offlineSpeechAvailable() {
    std::lock_guard lock(espeakMutex());
    return espeakSampleRate() > 0 && selectMandarinVoice();
}

Bytes synthesizeWav(const Text& text) {
    if (text.empty())
        return {};
    const Bytes utf8 = gbkToUtf8(text);
    std::lock_guard lock(espeakMutex());
    const int sampleRate = espeakSampleRate();
    if (sampleRate <= 0 || !selectMandarinVoice())
        return {};
    std::vector<std::int16_t> samples;
    // The size counts the terminator, which c_str() provides.
    if (espeak_Synth(utf8.c_str(), utf8.size() + 1, 0, POS_CHARACTER, 0, espeakCHARS_UTF8, nullptr,
                     &samples) != EE_OK ||
        espeak_Synchronize() != EE_OK || samples.empty())
        return {};
    return waveFile(samples, sampleRate);
}

} // namespace mz
