#include "long_line_http_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <mutex>

namespace mz::sim {
namespace {

// A client socket on 127.0.0.1 that writes raw bytes and reads whole answers.
class RawClient {
  public:
    explicit RawClient(int port) {
        fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(static_cast<uint16_t>(port));
        connected_ = ::connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    }
    ~RawClient() { ::close(fd_); }

    bool connected() const { return connected_; }

    bool send(const std::string& bytes) {
        for (size_t sent = 0; sent < bytes.size();) {
            const ssize_t n = ::send(fd_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
            if (n <= 0)
                return false;
            sent += static_cast<size_t>(n);
        }
        return true;
    }

    // One answer: head and a body of its Content-Length; empty when the
    // connection ended first or nothing came for five seconds.
    std::string readAnswer(bool headOnly = false) {
        size_t headEnd;
        while ((headEnd = buffer_.find("\r\n\r\n")) == std::string::npos)
            if (!readMore())
                return {};
        const size_t lengthAt = buffer_.find("Content-Length: ");
        const size_t length =
            headOnly || lengthAt > headEnd ? 0 : std::stoul(buffer_.substr(lengthAt + 16));
        while (buffer_.size() < headEnd + 4 + length)
            if (!readMore())
                return {};
        std::string answer = buffer_.substr(0, headEnd + 4 + length);
        buffer_.erase(0, answer.size());
        return answer;
    }

    // True when the server closed its side and nothing more is pending.
    bool closedByServer() { return buffer_.empty() && !readMore(); }

  private:
    bool readMore() {
        pollfd entry{fd_, POLLIN, 0};
        if (::poll(&entry, 1, 5000) <= 0)
            return false;
        char chunk[65536];
        const ssize_t n = ::recv(fd_, chunk, sizeof chunk, 0);
        if (n <= 0)
            return false;
        buffer_.append(chunk, static_cast<size_t>(n));
        return true;
    }

    int fd_ = -1;
    bool connected_ = false;
    std::string buffer_;
};

std::string statusLine(const std::string& answer) {
    return answer.substr(0, answer.find("\r\n"));
}

std::string bodyOf(const std::string& answer) {
    const size_t headEnd = answer.find("\r\n\r\n");
    return headEnd == std::string::npos ? std::string() : answer.substr(headEnd + 4);
}

// Answers every request with its method and target and records the requests.
class LongLineHttpServerTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(server.start()); }

    std::vector<PlainRequest> seen() {
        std::lock_guard lock(mutex);
        return requests;
    }

    std::mutex mutex;
    std::vector<PlainRequest> requests;
    LongLineHttpServer server{
        [this](const PlainRequest& request) {
            std::lock_guard lock(mutex);
            requests.push_back(request);
            return PlainResponse{200, "text/plain", request.method + " " + request.target};
        },
        64 * 1024};
};

TEST_F(LongLineHttpServerTest, LongRequestLineArrivingInPiecesIsAnsweredWhole) {
    const std::string target = "/speak?text=" + std::string(60000, 'x');
    const std::string request =
        "GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\nX-Note:  spaced value \r\n\r\n";
    RawClient client(server.port());
    ASSERT_TRUE(client.connected());
    for (size_t at = 0; at < request.size(); at += 7000)
        ASSERT_TRUE(client.send(request.substr(at, 7000)));
    const std::string answer = client.readAnswer();
    EXPECT_EQ(statusLine(answer), "HTTP/1.1 200 OK");
    EXPECT_NE(answer.find("Content-Type: text/plain\r\n"), std::string::npos);
    EXPECT_NE(answer.find("Content-Length: " + std::to_string(4 + target.size()) + "\r\n"),
              std::string::npos);
    EXPECT_EQ(bodyOf(answer), "GET " + target);
    ASSERT_EQ(seen().size(), 1u);
    EXPECT_EQ(seen()[0].header("x-note"), "spaced value");
    EXPECT_EQ(seen()[0].version, "HTTP/1.1");
}

TEST_F(LongLineHttpServerTest, KeepAliveAnswersRequestsInOrderUntilAskedToClose) {
    RawClient client(server.port());
    ASSERT_TRUE(client.connected());
    // Pipelined, with a body to read past, bare LF line ends and blank lines
    // before a request line.
    ASSERT_TRUE(client.send("POST /a HTTP/1.1\r\nContent-Length: 5\r\n\r\nhello"
                            "\r\n\r\nGET /b HTTP/1.1\n\n"
                            "HEAD /c HTTP/1.1\r\n\r\n"));
    EXPECT_EQ(bodyOf(client.readAnswer()), "POST /a");
    const std::string second = client.readAnswer();
    EXPECT_NE(second.find("Connection: keep-alive"), std::string::npos);
    EXPECT_EQ(bodyOf(second), "GET /b");
    const std::string head = client.readAnswer(true);
    EXPECT_NE(head.find("Content-Length: 7\r\n"), std::string::npos)
        << "the length of the body it stands for";
    EXPECT_EQ(bodyOf(head), "") << "HEAD sends no body";

    ASSERT_TRUE(client.send("GET /d HTTP/1.1\r\nConnection: close\r\n\r\n"));
    const std::string last = client.readAnswer();
    EXPECT_EQ(bodyOf(last), "GET /d");
    EXPECT_NE(last.find("Connection: close"), std::string::npos);
    EXPECT_TRUE(client.closedByServer());
}

TEST_F(LongLineHttpServerTest, Http10ClosesUnlessAskedToKeepAlive) {
    RawClient plain(server.port());
    ASSERT_TRUE(plain.send("GET /old HTTP/1.0\r\n\r\n"));
    EXPECT_EQ(bodyOf(plain.readAnswer()), "GET /old");
    EXPECT_TRUE(plain.closedByServer());

    RawClient kept(server.port());
    ASSERT_TRUE(kept.send("GET /1 HTTP/1.0\r\nConnection: Keep-Alive\r\n\r\n"));
    EXPECT_EQ(bodyOf(kept.readAnswer()), "GET /1");
    ASSERT_TRUE(kept.send("GET /2 HTTP/1.0\r\n\r\n"));
    EXPECT_EQ(bodyOf(kept.readAnswer()), "GET /2");
}

TEST_F(LongLineHttpServerTest, BadOrOversizedRequestsAreRefusedAndTheConnectionClosed) {
    const struct {
        const char* name;
        std::string request;
        const char* status;
    } cases[] = {
        {"request line over the limit", "GET /" + std::string(70 * 1024, 'a') + " HTTP/1.1\r\n\r\n",
         "HTTP/1.1 414 URI Too Long"},
        {"request line over the limit, still arriving", "GET /" + std::string(70 * 1024, 'a'),
         "HTTP/1.1 414 URI Too Long"},
        {"headers over the limit",
         "GET / HTTP/1.1\r\nX: " + std::string(70 * 1024, 'a') + "\r\n\r\n",
         "HTTP/1.1 431 Request Header Fields Too Large"},
        {"no version", "GET /\r\n\r\n", "HTTP/1.1 400 Bad Request"},
        {"another protocol", "GET / SPDY/3\r\n\r\n", "HTTP/1.1 400 Bad Request"},
        {"space in the target", "GET /a b HTTP/1.1\r\n\r\n", "HTTP/1.1 400 Bad Request"},
        {"header without a colon", "GET / HTTP/1.1\r\nHost\r\n\r\n", "HTTP/1.1 400 Bad Request"},
        {"folded header", "GET / HTTP/1.1\r\nA: 1\r\n  2\r\n\r\n", "HTTP/1.1 400 Bad Request"},
        {"bad length", "POST / HTTP/1.1\r\nContent-Length: -3\r\n\r\n", "HTTP/1.1 400 Bad Request"},
        {"body over the limit", "POST / HTTP/1.1\r\nContent-Length: 99999999\r\n\r\n",
         "HTTP/1.1 413 Content Too Large"},
        {"chunked body", "POST / HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n0\r\n\r\n",
         "HTTP/1.1 501 Not Implemented"},
    };
    for (const auto& c : cases) {
        RawClient client(server.port());
        ASSERT_TRUE(client.connected()) << c.name;
        client.send(c.request);
        EXPECT_EQ(statusLine(client.readAnswer()), c.status) << c.name;
        EXPECT_TRUE(client.closedByServer()) << c.name;
    }
    EXPECT_TRUE(seen().empty()) << "no refused request reaches the handler";
}

TEST_F(LongLineHttpServerTest, ClientsThatLeaveEarlyDoNotStopTheOthers) {
    {
        RawClient halfRequest(server.port());
        halfRequest.send("GET /never-finished HTT");
    }
    {
        RawClient noRead(server.port());
        noRead.send("GET /unread HTTP/1.1\r\n\r\n");
    }
    RawClient silent(server.port()); // stays open, sends nothing
    RawClient client(server.port());
    ASSERT_TRUE(client.send("GET /next HTTP/1.1\r\n\r\n"));
    EXPECT_EQ(bodyOf(client.readAnswer()), "GET /next");
}

TEST(LongLineHttpServer, StopEndsOpenConnectionsAndAnswersInProgress) {
    // An answer far larger than socket buffers, to a client that never reads it.
    LongLineHttpServer server([](const PlainRequest&) {
        return PlainResponse{200, "", std::string(32 << 20, 'z')};
    });
    ASSERT_TRUE(server.start());
    RawClient idle(server.port());
    RawClient stuck(server.port());
    ASSERT_TRUE(stuck.send("GET / HTTP/1.1\r\n\r\n"));
    ASSERT_TRUE(idle.send("GET /half"));
    server.stop();
    EXPECT_FALSE(server.isRunning());
    EXPECT_TRUE(idle.closedByServer());
    RawClient late(server.port());
    EXPECT_FALSE(late.connected());
    server.stop();
}

TEST(LongLineHttpServer, OwnsItsPort) {
    LongLineHttpServer first([](const PlainRequest&) { return PlainResponse{}; });
    ASSERT_TRUE(first.start());
    EXPECT_FALSE(first.start()) << "already running";
    LongLineHttpServer second([](const PlainRequest&) { return PlainResponse{}; });
    EXPECT_FALSE(second.start(first.port())) << "port taken";
    const int port = first.port();
    first.stop();
    EXPECT_TRUE(second.start(port)) << "free again after stop";
}

TEST(LongLineHttpServer, AHandlerThatThrowsGivesServerError) {
    LongLineHttpServer server(
        [](const PlainRequest&) -> PlainResponse { throw std::runtime_error("broken"); });
    ASSERT_TRUE(server.start());
    RawClient client(server.port());
    ASSERT_TRUE(client.send("GET / HTTP/1.1\r\n\r\n"));
    EXPECT_EQ(statusLine(client.readAnswer()), "HTTP/1.1 500 Internal Server Error");
    ASSERT_TRUE(client.send("GET / HTTP/1.1\r\n\r\n"));
    EXPECT_EQ(statusLine(client.readAnswer()), "HTTP/1.1 500 Internal Server Error")
        << "the connection stays usable";
}

} // namespace
} // namespace mz::sim
