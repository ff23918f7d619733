#include "raw_http_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <stdexcept>

namespace mz::test {
namespace {

constexpr int pollMilliseconds = 20;

std::string lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool readable(int fd) {
    pollfd entry{fd, POLLIN, 0};
    return poll(&entry, 1, pollMilliseconds) > 0;
}

void sendAll(int fd, const std::string& bytes) {
    size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0)
            return;
        sent += static_cast<size_t>(n);
    }
}

} // namespace

std::string RecordedRequest::requestLine() const {
    return head.substr(0, head.find("\r\n"));
}

std::string RecordedRequest::headerText() const {
    const size_t lineEnd = head.find("\r\n");
    return lineEnd == std::string::npos ? std::string() : head.substr(lineEnd + 2);
}

std::string RecordedRequest::header(const std::string& name) const {
    const std::string wanted = lowered(name) + ":";
    size_t from = 0;
    const std::string text = headerText();
    while (from < text.size()) {
        size_t end = text.find("\r\n", from);
        if (end == std::string::npos)
            end = text.size();
        const std::string line = text.substr(from, end - from);
        if (lowered(line.substr(0, wanted.size())) == wanted) {
            const size_t value = line.find_first_not_of(' ', wanted.size());
            return value == std::string::npos ? std::string() : line.substr(value);
        }
        from = end + 2;
    }
    return {};
}

std::string httpResponse(const std::string& status, const std::string& headerLines,
                         const std::string& body) {
    return "HTTP/1.1 " + status + "\r\n" + headerLines +
           "Content-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" +
           body;
}

RawHttpServer::RawHttpServer(Handler handler) : handler_(std::move(handler)) {
    listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
    if (listener_ < 0)
        throw std::runtime_error("socket failed");
    const int yes = 1;
    setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t length = sizeof address;
    if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener_, 16) != 0 ||
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        ::close(listener_);
        throw std::runtime_error("cannot listen on 127.0.0.1");
    }
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { serve(); });
}

RawHttpServer::~RawHttpServer() {
    stopping_ = true;
    thread_.join();
    ::close(listener_);
}

std::string RawHttpServer::url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::vector<RecordedRequest> RawHttpServer::requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

void RawHttpServer::serve() {
    while (!stopping_) {
        if (!readable(listener_))
            continue;
        const int client = ::accept(listener_, nullptr, nullptr);
        if (client < 0)
            continue;
        handle(client);
        ::close(client);
    }
}

// Reads one request (head, then a body of its Content-Length), records it and
// answers with the handler's reply.
void RawHttpServer::handle(int client) {
    RecordedRequest request;
    size_t headEnd = std::string::npos;
    size_t wanted = std::string::npos;
    char buffer[65536];
    while (!stopping_ && (wanted == std::string::npos || request.raw.size() < wanted)) {
        if (!readable(client))
            continue;
        const ssize_t n = ::recv(client, buffer, sizeof buffer, 0);
        if (n <= 0)
            break;
        request.raw.append(buffer, static_cast<size_t>(n));
        if (headEnd == std::string::npos &&
            (headEnd = request.raw.find("\r\n\r\n")) != std::string::npos) {
            request.head = request.raw.substr(0, headEnd);
            const std::string length = request.header("Content-Length");
            wanted = headEnd + 4 + (length.empty() ? 0 : std::stoul(length));
        }
    }
    if (headEnd != std::string::npos)
        request.body = request.raw.substr(headEnd + 4);
    {
        std::lock_guard lock(mutex_);
        requests_.push_back(request);
    }
    const Reply reply = handler_(request);
    sendAll(client, reply.bytes);
    if (!reply.holdOpen)
        return;
    while (!stopping_) {
        if (readable(client) && ::recv(client, buffer, sizeof buffer, 0) <= 0)
            return;
    }
}

} // namespace mz::test
