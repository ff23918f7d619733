#pragma once

// An HTTP server on 127.0.0.1 that plays the five sites and the speech service
// for tests and the demo. It runs on a thread of its own, in-process or from
// the site_simulator program. The speech service also has a listener of its
// own on another port, since its requests carry a whole chapter in the request
// line, far beyond what the site server reads.

#include "book_catalogue.h"
#include "sites/site_config.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace httplib {
class Server;
struct Request;
struct Response;
} // namespace httplib

namespace mz::sim {

class LongLineHttpServer;

class SiteSimulator {
  public:
    // e8SiteId and speechAppId are the values a request must carry to be answered;
    // by default those of SiteConfig.
    explicit SiteSimulator(BookCatalogue catalogue = BookCatalogue::samples());
    ~SiteSimulator();
    SiteSimulator(const SiteSimulator&) = delete;
    SiteSimulator& operator=(const SiteSimulator&) = delete;

    // Binds 127.0.0.1 at the port and the speech listener at speechPort (0: a
    // free one) and serves on threads; false, with nothing left listening, when
    // either cannot be had.
    bool start(int port = 0, int speechPort = 0);
    // Stops serving and joins the threads; safe to call more than once.
    void stop();

    int port() const { return port_; }
    std::string baseAddress() const; // "http://127.0.0.1:PORT"
    // The speech listener, for requests of any length up to 4 MiB. The site
    // server answers speech requests too, as long as they fit its request line.
    int speechPort() const;
    std::string speechBaseAddress() const;
    // Every site pointed at this simulator, the speech service at its listener.
    SiteConfig siteConfig() const;

    // Request targets received by both listeners, in order of arrival.
    std::vector<std::string> requests() const;
    void clearRequests();

    // Every answer waits this long first: a slow site.
    void setAnswerDelay(std::chrono::milliseconds delay) { answerDelay_ = delay; }

    std::string e8SiteId;
    std::string speechAppId;

  private:
    void addNovelSiteRoutes();
    void addDownloadSiteRoutes();
    void addSpeechRoute();
    void record(const std::string& target);
    const SampleBook* book(const httplib::Request& request) const;

    BookCatalogue catalogue_;
    std::unique_ptr<httplib::Server> server_;
    std::unique_ptr<LongLineHttpServer> speechServer_;
    std::thread thread_;
    int port_ = 0;
    std::atomic<bool> listenEnded_{false};
    mutable std::mutex mutex_;
    std::vector<std::string> requests_;
    std::atomic<std::chrono::milliseconds> answerDelay_{std::chrono::milliseconds(0)};
};

} // namespace mz::sim
