#pragma once

// Reading a text aloud: the audio comes from the speech service (or, without
// one, from the synthesiser on this machine), is kept in the cache under the
// digest of the text, and is played under a fresh alias, so a text is fetched
// once and every press plays it again, side by side with earlier playbacks.
//
// A press runs in three steps: prepare (on the caller's thread), fill (the
// slow part, on any thread) and play (on the player's thread). speakText runs
// them in a row; its second form hands fill to a background runner so the
// window never waits for the network.

#include "speech/audio_player.h"
#include "speech/speech_job.h"

#include <functional>
#include <optional>

namespace mz {

class SpeechService {
  public:
    // work runs off the calling thread; done runs back on it afterwards, or not
    // at all when the run was dropped.
    using BackgroundRunner =
        std::function<void(std::function<void()> work, std::function<void()> done)>;

    // speechBase: scheme and host of the speech service; empty for speech made
    // on this machine. cacheFolder ends with "/". The player must outlive this.
    SpeechService(Text speechBase, Text appId, QString cacheFolder, AudioPlayer& player);

    bool isOffline() const { return speechBase_.empty(); }

    // The speech request for text: the whole text, UTF-8 and every byte escaped.
    Text requestAddress(const Text& text) const;

    // Nothing for a text that is blank after trimming, or when no cache name can
    // be made.
    std::optional<SpeechJob> prepare(const Text& text) const;

    // Fetches or synthesises the audio into the cache unless audio is already
    // there; only usable audio is written. True when the cache holds audio for
    // the job afterwards.
    static bool fill(const SpeechJob& job);

    // Plays the cache file under a fresh alias; false when it holds no audio or
    // the player refused it.
    bool play(const SpeechJob& job);

    // A whole press on the calling thread.
    void speakText(const Text& text);

    // A whole press; a cache hit plays at once, a miss fills in the background
    // and plays when done.
    void speakText(const Text& text, const BackgroundRunner& runInBackground);

  private:
    Text speechBase_;
    Text appId_;
    QString cacheFolder_;
    AudioPlayer& player_;
};

} // namespace mz
