#pragma once

// A test server on 127.0.0.1 that records each request's raw bytes and answers
// with raw bytes of the test's choosing, so both sides of the wire are exact.

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace mz::test {

struct RecordedRequest {
    std::string raw;  // every byte received on the connection
    std::string head; // request line and header lines, without the blank line
    std::string body;

    std::string requestLine() const;
    // Header lines after the request line, joined by CR LF.
    std::string headerText() const;
    // Value of the first header of that name (ASCII case ignored), or empty.
    std::string header(const std::string& name) const;
};

struct Reply {
    std::string bytes;
    // Keep the connection open without sending more until the client leaves.
    bool holdOpen = false;
};

// "HTTP/1.1 <status>" with the given header lines (each ending CR LF), a
// Content-Length and Connection: close, then the body.
std::string httpResponse(const std::string& status, const std::string& headerLines,
                         const std::string& body);

class RawHttpServer {
  public:
    using Handler = std::function<Reply(const RecordedRequest&)>;

    explicit RawHttpServer(Handler handler);
    ~RawHttpServer();
    RawHttpServer(const RawHttpServer&) = delete;
    RawHttpServer& operator=(const RawHttpServer&) = delete;

    int port() const { return port_; }
    // "http://127.0.0.1:<port>" followed by path.
    std::string url(const std::string& path = "/") const;
    std::vector<RecordedRequest> requests() const;

  private:
    void serve();
    void handle(int client);

    Handler handler_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    mutable std::mutex mutex_;
    std::vector<RecordedRequest> requests_;
    std::thread thread_;
};

} // namespace mz::test
