#pragma once

// An HTTP server on 127.0.0.1 that plays the five sites and the speech service
// for tests and the demo. It runs on a thread of its own, in-process or from
// the site_simulator program.

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

class SiteSimulator {
  public:
    // e8SiteId and speechAppId are the values a request must carry to be answered;
    // by default those of SiteConfig.
    explicit SiteSimulator(BookCatalogue catalogue = BookCatalogue::samples());
    ~SiteSimulator();
    SiteSimulator(const SiteSimulator&) = delete;
    SiteSimulator& operator=(const SiteSimulator&) = delete;

    // Binds 127.0.0.1 at the port (0: a free one) and serves on a thread.
    bool start(int port = 0);
    // Stops serving and joins the thread; safe to call more than once.
    void stop();

    int port() const { return port_; }
    std::string baseAddress() const; // "http://127.0.0.1:PORT"
    // Every site and the speech service pointed at this simulator.
    SiteConfig siteConfig() const;

    // Request targets received, in order of arrival.
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
    void record(const httplib::Request& request);
    const SampleBook* book(const httplib::Request& request) const;

    BookCatalogue catalogue_;
    std::unique_ptr<httplib::Server> server_;
    std::thread thread_;
    int port_ = 0;
    std::atomic<bool> listenEnded_{false};
    mutable std::mutex mutex_;
    std::vector<std::string> requests_;
    std::atomic<std::chrono::milliseconds> answerDelay_{std::chrono::milliseconds(0)};
};

} // namespace mz::sim
