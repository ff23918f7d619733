// Read aloud, press to play command: the second press on a 5 000-character
// chapter (cache hit) against the first press (fetch from a local speech
// endpoint), each in the same run. Target: the second press at most 20 ms.
//
// The site simulator takes request lines of at most 8 192 bytes, about 900
// characters of escaped text, so the chapter goes to a small endpoint of this
// benchmark that reads request lines of any length; an 800-character passage
// is also measured against the simulator itself.

#include "speech/media_audio_player.h"
#include "speech/recording_audio_player.h"
#include "speech/speech_service.h"

#include "book_catalogue.h"
#include "silent_mp3.h"
#include "site_simulator.h"

#include "text/code_page.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QTemporaryDir>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <optional>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Answers every request with MP3 audio, one connection at a time.
class LongLineSpeechEndpoint {
  public:
    LongLineSpeechEndpoint() : audio_(mz::sim::silentMp3(2000)) {
        listener_ = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        if (bind(listener_, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
            listen(listener_, 16) != 0 ||
            getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size) != 0)
            return;
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { serve(); });
    }
    ~LongLineSpeechEndpoint() {
        stopping_ = true;
        if (thread_.joinable())
            thread_.join();
        close(listener_);
    }
    bool isListening() const { return port_ != 0; }
    mz::Text base() const { return "http://127.0.0.1:" + std::to_string(port_); }

  private:
    void serve() {
        while (!stopping_) {
            pollfd ready{listener_, POLLIN, 0};
            if (poll(&ready, 1, 50) <= 0)
                continue;
            const int connection = accept(listener_, nullptr, nullptr);
            if (connection >= 0) {
                answer(connection);
                close(connection);
            }
        }
    }
    void answer(int connection) {
        std::string request;
        char buffer[65536];
        while (request.find("\r\n\r\n") == std::string::npos) {
            const ssize_t got = recv(connection, buffer, sizeof buffer, 0);
            if (got <= 0)
                return;
            request.append(buffer, static_cast<size_t>(got));
        }
        const std::string response = "HTTP/1.1 200 OK\r\nContent-Type: audio/mpeg\r\n"
                                     "Content-Length: " +
                                     std::to_string(audio_.size()) +
                                     "\r\nConnection: close\r\n\r\n" + audio_;
        for (size_t sent = 0; sent < response.size();) {
            const ssize_t put =
                send(connection, response.data() + sent, response.size() - sent, MSG_NOSIGNAL);
            if (put <= 0)
                return;
            sent += static_cast<size_t>(put);
        }
    }

    std::string audio_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

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
    const mz::Text appId = mz::SiteConfig().speechAppId;

    LongLineSpeechEndpoint endpoint;
    if (!endpoint.isListening()) {
        std::fprintf(stderr, "the benchmark's speech endpoint could not listen\n");
        return 1;
    }
    mz::MediaAudioPlayer media;
    mz::RecordingAudioPlayer recording;
    report("5 000-character chapter, local endpoint",
           measure(media, endpoint.base(), appId, chapterOf(5000), rounds));
    report("  the same, recording player (no media opened)",
           measure(recording, endpoint.base(), appId, chapterOf(5000), rounds));

    mz::sim::SiteSimulator simulator;
    if (!simulator.start()) {
        std::fprintf(stderr, "the site simulator could not start\n");
        return 1;
    }
    report("800-character passage, site simulator",
           measure(media, simulator.baseAddress(), simulator.speechAppId, chapterOf(800), rounds));
    return 0;
}
