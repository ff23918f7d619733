#pragma once

// A small HTTP/1.1 server on 127.0.0.1 for requests whose request line is far
// longer than common servers accept: a whole chapter escaped into the query.
// Each request's head (request line and headers) may grow up to headLimit
// bytes; beyond that it is refused with 414 or 431. Every answer carries a
// Content-Length; a connection is kept alive as HTTP/1.1 allows, so requests
// on it are answered in order. Each connection runs on a thread of its own.

#include <atomic>
#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace mz::sim {

struct PlainRequest {
    std::string method;
    std::string target; // as sent, still escaped
    std::string version;
    std::vector<std::pair<std::string, std::string>> headers;

    // Value of the first header of that name (ASCII case ignored), or empty.
    std::string header(const std::string& name) const;
};

struct PlainResponse {
    int status = 200;
    std::string contentType; // no Content-Type header when empty
    std::string body;
};

class LongLineHttpServer {
  public:
    // Called on connection threads, possibly at the same time.
    using Handler = std::function<PlainResponse(const PlainRequest&)>;

    static constexpr size_t defaultHeadLimit = 4 * 1024 * 1024;
    static constexpr int maxConnections = 64;

    explicit LongLineHttpServer(Handler handler, size_t headLimit = defaultHeadLimit);
    ~LongLineHttpServer();
    LongLineHttpServer(const LongLineHttpServer&) = delete;
    LongLineHttpServer& operator=(const LongLineHttpServer&) = delete;

    // Binds 127.0.0.1 at the port (0: a free one) and serves on a thread; false
    // when the port cannot be had or the server already runs.
    bool start(int port = 0);
    // Closes the listener and every connection and joins their threads; safe
    // to call more than once.
    void stop();

    int port() const { return port_; }
    bool isRunning() const { return listener_ >= 0; }

    // How long a connection may stay silent, idle or in the middle of a
    // request, before it is closed.
    void setIdleTimeout(std::chrono::milliseconds timeout) { idleTimeout_ = timeout; }

  private:
    void serve();
    void converse(int client);
    bool answer(int client, const PlainRequest& request, const PlainResponse& response,
                bool keepAlive);

    Handler handler_;
    size_t headLimit_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    std::atomic<std::chrono::milliseconds> idleTimeout_{std::chrono::seconds(10)};
    std::thread thread_;
};

} // namespace mz::sim
