// Read aloud, press to play command: the second press on a 5 000-character
// chapter (cache hit) against the first press (fetch from the site
// simulator's speech listener), each in the same run. Target: the second press
// at most 20 ms.

#include "speech/media_audio_player.h"
#include "speech/recording_audio_player.h"
#include "speech/speech_service.h"

#include "book_catalogue.h"
#include "site_simulator.h"

#include "text/code_page.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Notes when the play command arrives and hands every command on.
class TimedPlayer : public mz::AudioPlayer {
  public:
    explicit TimedPlayer(mz::AudioPlayer& player) : player_(player) {}
    bool close(const mz::Text& alias) override { return player_.close(alias); }
    bool open(const QString& path, const mz::Text& alias) override {
        return player_.open(path, alias);
    }
    bool play(const mz::Text& alias) override {
        playedAt = Clock::now();
        return player_.play(alias);
    }
    std::optional<Clock::time_point> playedAt;

  private:
    mz::AudioPlayer& player_;
};

// The sample books as GBK text, repeated and cut to characters characters.
mz::Text chapterOf(int characters) {
    const mz::sim::BookCatalogue catalogue = mz::sim::BookCatalogue::samples();
    std::string plain;
    for (const auto& book : catalogue.books())
        plain += book.plainText();
    const mz::Text gbk = mz::utf8ToGbk(plain);
    mz::Text chapter;
    for (int count = 0, i = 0; count < characters; ++count) {
        const size_t width = mz::isLeadByte(static_cast<unsigned char>(gbk[i])) ? 2 : 1;
        chapter.append(gbk, i, width);
        i = (i + width) % gbk.size();
    }
    return chapter;
}

struct Press {
    double first = 0;
    double second = 0;
};

// Milliseconds from the call to the play command, or -1 when nothing played.
double timePress(mz::SpeechService& speech, TimedPlayer& player, const mz::Text& text) {
    player.playedAt.reset();
    const Clock::time_point start = Clock::now();
    speech.speakText(text);
    if (!player.playedAt)
        return -1;
    return std::chrono::duration<double, std::milli>(*player.playedAt - start).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// rounds times: a fresh cache, the first press, the second press.
std::optional<Press> measure(mz::AudioPlayer& device, const mz::Text& base, const mz::Text& appId,
                             const mz::Text& text, int rounds) {
    std::vector<double> firsts;
    std::vector<double> seconds;
    TimedPlayer player(device);
    for (int round = 0; round < rounds; ++round) {
        QTemporaryDir cache;
        mz::SpeechService speech(base, appId, cache.path() + "/", player);
        const double first = timePress(speech, player, text);
        const double second = timePress(speech, player, text);
        if (first < 0 || second < 0)
            return std::nullopt;
        firsts.push_back(first);
        seconds.push_back(second);
        QCoreApplication::processEvents();
    }
    return Press{median(firsts), median(seconds)};
}

void report(const char* name, const std::optional<Press>& press) {
    if (!press) {
        std::printf("%-44s nothing played\n", name);
        return;
    }
    std::printf("%-44s second %7.2f ms   first (fetch) %7.2f ms   ratio %.3f   "
                "(target second <= 20 ms) %s\n",
                name, press->second, press->first, press->second / press->first,
                press->second <= 20 ? "ok" : "MISSED");
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    // Without a sound server every playback warns; the figures are what matters here.
    QLoggingCategory::setFilterRules("qt.multimedia.*=false");
    const int rounds = 15;
    mz::sim::SiteSimulator simulator;
    if (!simulator.start()) {
        std::fprintf(stderr, "the site simulator could not start\n");
        return 1;
    }
    const mz::Text speechBase = simulator.siteConfig().speechBase;
    const mz::Text appId = simulator.speechAppId;
    mz::MediaAudioPlayer media;
    mz::RecordingAudioPlayer recording;
    report("5 000-character chapter, site simulator",
           measure(media, speechBase, appId, chapterOf(5000), rounds));
    report("  the same, recording player (no media opened)",
           measure(recording, speechBase, appId, chapterOf(5000), rounds));
    report("800-character passage, site simulator",
           measure(media, speechBase, appId, chapterOf(800), rounds));
    return 0;
}
