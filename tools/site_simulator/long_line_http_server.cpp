#include "long_line_http_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <memory>
#include <optional>
#include <string_view>

namespace mz::sim {
namespace {

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

// Blocking waits are cut into slices so that stop() is noticed quickly.
constexpr int pollSliceMs = 50;
constexpr size_t readChunk = 64 * 1024;

std::string lowered(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return result;
}

std::string_view trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

const char* reasonPhrase(int status) {
    switch (status) {
    case 200:
        return "OK";
    case 400:
        return "Bad Request";
    case 404:
        return "Not Found";
    case 405:
        return "Method Not Allowed";
    case 413:
        return "Content Too Large";
    case 414:
        return "URI Too Long";
    case 431:
        return "Request Header Fields Too Large";
    case 500:
        return "Internal Server Error";
    case 501:
        return "Not Implemented";
    default:
        return "Status";
    }
}

// True when fd is ready for events before the timeout; false on timeout, on a
// poll failure or when the server stops.
bool waitReady(int fd, short events, const std::atomic<bool>& stopping, milliseconds timeout) {
    const Clock::time_point deadline = Clock::now() + timeout;
    while (!stopping) {
        pollfd entry{fd, events, 0};
        const int result = ::poll(&entry, 1, pollSliceMs);
        if (result > 0)
            return true; // hang-ups and errors too: the next recv or send tells them
        if (result < 0 && errno != EINTR)
            return false;
        if (Clock::now() >= deadline)
            return false;
    }
    return false;
}

bool sendAll(int fd, std::string_view bytes, const std::atomic<bool>& stopping,
             milliseconds timeout) {
    while (!bytes.empty()) {
        const ssize_t sent = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (sent > 0) {
            bytes.remove_prefix(static_cast<size_t>(sent));
        } else if (sent < 0 && errno == EINTR) {
            continue;
        } else if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (!waitReady(fd, POLLOUT, stopping, timeout))
                return false;
        } else {
            return false; // the client went away
        }
    }
    return true;
}

// One connection's unread bytes and the reads that extend them.
class Incoming {
  public:
    Incoming(int fd, const std::atomic<bool>& stopping, milliseconds timeout)
        : fd_(fd), stopping_(stopping), timeout_(timeout) {}

    // Appends what arrives next; false when the client closed, failed or went
    // silent for the timeout, or the server stops.
    bool readMore() {
        char chunk[readChunk];
        for (;;) {
            if (!waitReady(fd_, POLLIN, stopping_, timeout_))
                return false;
            const ssize_t got = ::recv(fd_, chunk, sizeof chunk, MSG_DONTWAIT);
            if (got > 0) {
                bytes.append(chunk, static_cast<size_t>(got));
                return true;
            }
            if (got == 0 || (errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK))
                return false;
        }
    }

    // Blank lines before a request line are allowed and skipped.
    void skipLeadingBlankLines() {
        size_t start = 0;
        while (bytes.compare(start, 1, "\n") == 0 || bytes.compare(start, 2, "\r\n") == 0)
            start += bytes[start] == '\n' ? 1 : 2;
        if (start > 0) {
            bytes.erase(0, start);
            scanFrom_ = 0;
        }
    }

    // Where the body starts, after the blank line that ends the head (CR LF or
    // bare LF line ends); npos while the head is incomplete. Scans only what is
    // new since the last call, so a long head costs one pass.
    size_t headEnd() {
        for (size_t i = bytes.find('\n', scanFrom_); i != std::string::npos;
             i = bytes.find('\n', i + 1)) {
            if (i + 1 < bytes.size() && bytes[i + 1] == '\n')
                return i + 2;
            if (i + 2 < bytes.size() && bytes[i + 1] == '\r' && bytes[i + 2] == '\n')
                return i + 3;
        }
        // A line end in the last two bytes may still turn out to end the head.
        scanFrom_ = bytes.size() < 2 ? 0 : bytes.size() - 2;
        return std::string::npos;
    }

    void consume(size_t count) {
        bytes.erase(0, count);
        scanFrom_ = 0;
    }

    std::string bytes;

  private:
    int fd_;
    const std::atomic<bool>& stopping_;
    milliseconds timeout_;
    size_t scanFrom_ = 0;
};

// The request line and headers of a head; nothing when they are malformed.
std::optional<PlainRequest> parseHead(std::string_view head) {
    std::vector<std::string_view> lines;
    while (!head.empty()) {
        const size_t end = head.find('\n');
        std::string_view line = head.substr(0, end);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (!line.empty())
            lines.push_back(line);
        head.remove_prefix(end == std::string_view::npos ? head.size() : end + 1);
    }
    if (lines.empty())
        return std::nullopt;

    PlainRequest request;
    const std::string_view requestLine = lines.front();
    const size_t firstSpace = requestLine.find(' ');
    const size_t lastSpace = requestLine.rfind(' ');
    if (firstSpace == std::string_view::npos || firstSpace == 0 || lastSpace == firstSpace ||
        lastSpace == firstSpace + 1)
        return std::nullopt;
    request.method = requestLine.substr(0, firstSpace);
    request.target = requestLine.substr(firstSpace + 1, lastSpace - firstSpace - 1);
    request.version = requestLine.substr(lastSpace + 1);
    if (request.target.find(' ') != std::string::npos ||
        (request.version != "HTTP/1.1" && request.version != "HTTP/1.0"))
        return std::nullopt;

    for (size_t i = 1; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        const size_t colon = line.find(':');
        // A line folded onto the previous one is obsolete and refused, as is a
        // name with spaces in it.
        if (colon == std::string_view::npos || colon == 0 || line.front() == ' ' ||
            line.front() == '\t' || line.substr(0, colon).find_first_of(" \t") != line.npos)
            return std::nullopt;
        request.headers.emplace_back(line.substr(0, colon), trimmed(line.substr(colon + 1)));
    }
    return request;
}

bool wantsKeepAlive(const PlainRequest& request) {
    const std::string connection = lowered(request.header("Connection"));
    if (request.version == "HTTP/1.1")
        return connection.find("close") == std::string::npos;
    return connection.find("keep-alive") != std::string::npos;
}

std::optional<size_t> contentLength(const PlainRequest& request) {
    const std::string value = request.header("Content-Length");
    if (value.empty())
        return 0;
    if (value.size() > 18 || value.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    return std::stoull(value);
}

std::string responseHead(const PlainResponse& response, size_t bodySize, bool keepAlive) {
    std::string head = "HTTP/1.1 " + std::to_string(response.status) + " " +
                       reasonPhrase(response.status) + "\r\n";
    if (!response.contentType.empty())
        head += "Content-Type: " + response.contentType + "\r\n";
    head += "Content-Length: " + std::to_string(bodySize) + "\r\n";
    head += keepAlive ? "Connection: keep-alive\r\n\r\n" : "Connection: close\r\n\r\n";
    return head;
}

// Closing with unread bytes in the socket resets the connection, and the client
// may lose the answer it was just sent; so the rest it sends is read first.
void drainBeforeClose(int fd, const std::atomic<bool>& stopping) {
    ::shutdown(fd, SHUT_WR);
    char chunk[readChunk];
    size_t drained = 0;
    while (drained < 64 * readChunk && waitReady(fd, POLLIN, stopping, milliseconds(500))) {
        const ssize_t got = ::recv(fd, chunk, sizeof chunk, MSG_DONTWAIT);
        if (got == 0 || (got < 0 && errno != EINTR && errno != EAGAIN))
            return;
        drained += got > 0 ? static_cast<size_t>(got) : 0;
    }
}

PlainResponse refusal(int status) {
    return {status, "text/plain", reasonPhrase(status)};
}

} // namespace

std::string PlainRequest::header(const std::string& name) const {
    const std::string wanted = lowered(name);
    for (const auto& [key, value] : headers)
        if (lowered(key) == wanted)
            return value;
    return {};
}

LongLineHttpServer::LongLineHttpServer(Handler handler, size_t headLimit)
    : handler_(std::move(handler)), headLimit_(headLimit) {}

LongLineHttpServer::~LongLineHttpServer() {
    stop();
}

bool LongLineHttpServer::start(int port) {
    if (listener_ >= 0 || port < 0 || port > 65535)
        return false;
    const int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listener < 0)
        return false;
    // Not SO_REUSEPORT: a second server must not share a taken port silently.
    const int yes = 1;
    ::setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(port));
    socklen_t length = sizeof address;
    if (::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener, maxConnections) != 0 ||
        ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        ::close(listener);
        return false;
    }
    listener_ = listener;
    port_ = ntohs(address.sin_port);
    stopping_ = false;
    thread_ = std::thread([this] { serve(); });
    return true;
}

void LongLineHttpServer::stop() {
    if (listener_ < 0)
        return;
    stopping_ = true;
    thread_.join();
    ::close(listener_);
    listener_ = -1;
}

// Accepts connections until stop(), each on a thread of its own; threads that
// have finished are joined as it goes, the rest when it stops.
void LongLineHttpServer::serve() {
    struct Connection {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> done;
    };
    std::vector<Connection> connections;
    auto joinFinished = [&connections] {
        auto finished = std::partition(connections.begin(), connections.end(),
                                       [](const Connection& c) { return !*c.done; });
        for (auto it = finished; it != connections.end(); ++it)
            it->thread.join();
        connections.erase(finished, connections.end());
    };

    while (!stopping_) {
        joinFinished();
        pollfd entry{listener_, POLLIN, 0};
        if (connections.size() >= maxConnections || ::poll(&entry, 1, pollSliceMs) <= 0) {
            if (connections.size() >= maxConnections)
                std::this_thread::sleep_for(milliseconds(pollSliceMs / 5));
            continue;
        }
        const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0)
            continue;
        auto done = std::make_shared<std::atomic<bool>>(false);
        try {
            connections.push_back({std::thread([this, client, done] {
                                       converse(client);
                                       ::close(client);
                                       *done = true;
                                   }),
                                   done});
        } catch (const std::system_error&) {
            ::close(client); // no thread to spare: the client sees the connection end
        }
    }
    for (Connection& connection : connections)
        connection.thread.join();
}

// Answers the requests of one connection in order until it is closed, a
// request is refused, or the client asks to close.
void LongLineHttpServer::converse(int client) {
    Incoming incoming(client, stopping_, idleTimeout_.load());
    auto refuse = [&](int status) {
        const PlainResponse response = refusal(status);
        if (sendAll(client, responseHead(response, response.body.size(), false) + response.body,
                    stopping_, idleTimeout_.load()))
            drainBeforeClose(client, stopping_);
    };
    // A request line longer than the limit is an address too long to serve.
    auto oversize = [&] { return incoming.bytes.find('\n') > headLimit_ ? 414 : 431; };

    for (;;) {
        incoming.skipLeadingBlankLines();
        const size_t bodyStart = incoming.headEnd();
        if (bodyStart == std::string::npos) {
            if (incoming.bytes.size() > headLimit_)
                return refuse(oversize());
            if (!incoming.readMore())
                return;
            continue;
        }
        if (bodyStart > headLimit_)
            return refuse(oversize());

        const std::optional<PlainRequest> request =
            parseHead(std::string_view(incoming.bytes).substr(0, bodyStart));
        if (!request)
            return refuse(400);
        if (!request->header("Transfer-Encoding").empty())
            return refuse(501);
        const std::optional<size_t> bodySize = contentLength(*request);
        if (!bodySize)
            return refuse(400);
        if (*bodySize > headLimit_)
            return refuse(413);
        // Request bodies mean nothing here; they are read past so that the
        // next request on the connection starts where it should.
        while (incoming.bytes.size() < bodyStart + *bodySize)
            if (!incoming.readMore())
                return;
        incoming.consume(bodyStart + *bodySize);

        PlainResponse response;
        try {
            response = handler_(*request);
        } catch (const std::exception&) {
            response = refusal(500);
        }
        const bool keepAlive = wantsKeepAlive(*request) && !stopping_;
        if (!answer(client, *request, response, keepAlive) || !keepAlive)
            return;
    }
}

bool LongLineHttpServer::answer(int client, const PlainRequest& request,
                                const PlainResponse& response, bool keepAlive) {
    std::string bytes = responseHead(response, response.body.size(), keepAlive);
    if (request.method != "HEAD")
        bytes += response.body;
    return sendAll(client, bytes, stopping_, idleTimeout_.load());
}

} // namespace mz::sim
