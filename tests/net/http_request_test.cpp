#include "net/http_request.h"
#include "net/send_request.h"

#include "net_test_support.h"
#include "raw_http_server.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace mz {
namespace {

using test::httpResponse;
using test::RawHttpServer;
using test::RecordedRequest;
using test::Reply;

const std::string defaultAgent =
    "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1; Zmoq; .NET CLR 2.0.50727; .NET CLR "
    "3.0.04506.648; .NET CLR 3.5.21022)";
const std::string defaultTail =
    "\r\nAccept: */*\r\nAccept-Language: zh-cn\r\nContent-Type: application/x-www-form-urlencoded";

// The header block of a whole response: everything up to the blank line.
std::string headBlock(const std::string& response) {
    return response.substr(0, response.find("\r\n\r\n") + 4);
}

Reply okReply(const RecordedRequest&) {
    return {httpResponse("200 OK", "", "page")};
}

void replaceAll(std::string& text, const std::string& from, const std::string& to) {
    for (size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size())
        text.replace(at, from.size(), to);
}

// {A} stands for the address requested.
struct WireCase {
    const char* name;
    int method;
    std::string headers;
    std::string cookies;
    std::string expectedVerb;
    std::string expectedAgentLine; // "" when the header text carries the agent
    std::string expectedHeaderText;
    std::string expectedWireHeaders; // the header text as it appears on the wire
};

TEST(HttpRequestWire, RequestLineAndHeaderTextAreExact) {
    const std::string agentLine = "User-Agent: " + defaultAgent + "\r\n";
    const std::vector<WireCase> cases = {
        {"get, nothing given", 0, "", "", "GET", agentLine, "Referer: {A}" + defaultTail, ""},
        {"post, nothing given", 1, "", "", "POST", agentLine, "Referer: {A}" + defaultTail, ""},
        {"other methods send GET with a body", 2, "", "", "GET", agentLine,
         "Referer: {A}" + defaultTail, ""},
        {"agent given", 0, "User-Agent: TestAgent/1.0", "", "GET", "",
         "User-Agent: TestAgent/1.0\r\nReferer: {A}" + defaultTail, ""},
        {"agent given empty", 0, "User-Agent: ", "", "GET", "",
         "User-Agent: \r\nReferer: {A}" + defaultTail, "User-Agent:\r\nReferer: {A}" + defaultTail},
        {"agent named inside another header", 0, "X-Old-User-Agent: Foo/1", "", "GET",
         "User-Agent: Foo/1\r\n", "X-Old-User-Agent: Foo/1\r\nReferer: {A}" + defaultTail, ""},
        {"agent fallback never spans lines", 0, "X-Old-User-Agent: \r\nX-B: 2", "", "GET", "",
         "X-Old-User-Agent: \r\nX-B: 2\r\nReferer: {A}" + defaultTail,
         "X-Old-User-Agent:\r\nX-B: 2\r\nReferer: {A}" + defaultTail},
        {"empty line in the header text", 0, "X-A: 1\r\n", "", "GET", agentLine,
         "X-A: 1\r\n\r\nReferer: {A}" + defaultTail, "X-A: 1\r\nReferer: {A}" + defaultTail},
        {"referer, accept and content type given", 1,
         "Referer: http://from.example/\r\nAccept: text/html\r\nContent-Type: text/plain", "",
         "POST", agentLine,
         "Referer: http://from.example/\r\nAccept: text/html\r\nContent-Type: "
         "text/plain\r\nAccept-Language: zh-cn",
         ""},
        {"cookies", 0, "", "a=1; b=2", "GET", agentLine,
         "Referer: {A}" + defaultTail + "\r\nCookie: a=1; b=2", ""},
        {"cookies beside a cookie line of the caller's", 0, "Cookie: x=9", "a=1", "GET", agentLine,
         "Cookie: x=9\r\nReferer: {A}" + defaultTail + "\r\nCookie: a=1", ""},
    };
    for (const WireCase& c : cases) {
        SCOPED_TRACE(c.name);
        RawHttpServer server(okReply);
        const std::string address = server.url("/Dir/Page.html?Q=AbC&x=1");
        Text headers = c.headers;
        Text cookies = c.cookies;
        const Bytes body = sendRequest({.address = address,
                                        .method = c.method,
                                        .postText = "k=v&n=2",
                                        .cookies = &cookies,
                                        .headers = &headers});
        EXPECT_EQ(body, "page");

        std::string expectedText = c.expectedHeaderText;
        replaceAll(expectedText, "{A}", address);
        EXPECT_EQ(headers, expectedText);

        std::string wireText =
            c.expectedWireHeaders.empty() ? c.expectedHeaderText : c.expectedWireHeaders;
        replaceAll(wireText, "{A}", address);
        const bool withBody = c.method != 0;
        const std::string expectedHead =
            c.expectedVerb + " /Dir/Page.html?Q=AbC&x=1 HTTP/1.1\r\nHost: 127.0.0.1:" +
            std::to_string(server.port()) + "\r\n" + c.expectedAgentLine + wireText +
            (withBody ? "\r\nContent-Length: 7" : "");
        ASSERT_EQ(server.requests().size(), 1u);
        EXPECT_EQ(server.requests()[0].head, expectedHead);
        EXPECT_EQ(server.requests()[0].body, withBody ? "k=v&n=2" : "");
    }
}

TEST(HttpRequestWire, AddressFormsReachTheServer) {
    RawHttpServer server(okReply);
    const std::string hostPort = "127.0.0.1:" + std::to_string(server.port());
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"HTTP://" + hostPort + "/Path/To/File.HTML?Name=Value",
         "GET /Path/To/File.HTML?Name=Value"},
        {hostPort + "/no/scheme", "GET /no/scheme"},
        {"http://" + hostPort, "GET /"},
        {"http://" + hostPort + "/space here/#fragment", "GET /space%20here/"},
        {"http://" + hostPort + "/\xC4\xE3\xBA\xC3?q=\xD6\xD0", "GET /%C4%E3%BA%C3?q=%D6%D0"},
        {"http://" + hostPort + "/a/../b", "GET /a/../b"},
    };
    for (const auto& [address, requestLine] : cases)
        EXPECT_EQ(fetchPage(address), "page") << address;
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), cases.size());
    for (size_t i = 0; i < cases.size(); ++i) {
        EXPECT_EQ(requests[i].requestLine(), cases[i].second + " HTTP/1.1");
        EXPECT_EQ(requests[i].header("Host"), hostPort);
    }
}

TEST(HttpRequestWire, PostBytesTakePrecedenceAndComeBackFilled) {
    RawHttpServer server(okReply);
    Bytes binary("bin\0ary", 7);
    sendRequest({.address = server.url(), .method = 1, .postText = "text", .postBytes = &binary});
    Bytes filled;
    sendRequest({.address = server.url(), .method = 1, .postText = "text", .postBytes = &filled});
    Bytes untouched = "kept";
    sendRequest(
        {.address = server.url(), .method = 0, .postText = "text", .postBytes = &untouched});

    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0].body, Bytes("bin\0ary", 7));
    EXPECT_EQ(requests[0].header("Content-Length"), "7");
    EXPECT_EQ(requests[1].body, "text");
    EXPECT_EQ(filled, "text");
    EXPECT_EQ(requests[2].body, "");
    EXPECT_EQ(requests[2].header("Content-Length"), "");
    EXPECT_EQ(untouched, "kept");
}

TEST(HttpRequestWire, ProxyCarriesPlainRequests) {
    RawHttpServer proxy(okReply);
    const Text address = "http://novels.invalid/book/1.html?p=2";
    const Bytes body =
        sendRequest({.address = address, .proxy = "127.0.0.1:" + std::to_string(proxy.port())});
    EXPECT_EQ(body, "page");
    ASSERT_EQ(proxy.requests().size(), 1u);
    EXPECT_EQ(proxy.requests()[0].requestLine(), "GET " + address + " HTTP/1.1");
    EXPECT_EQ(proxy.requests()[0].header("Host"), "novels.invalid");
    EXPECT_EQ(proxy.requests()[0].header("Referer"), address);
}

TEST(HttpRequestWire, AddressWithLineBreakIsNotRequested) {
    RawHttpServer server(okReply);
    Text headers = "X-Given: 1";
    EXPECT_EQ(sendRequest({.address = server.url("/a\r\nX-Injected: 1"), .headers = &headers}), "");
    EXPECT_EQ(headers, "X-Given: 1");
    EXPECT_TRUE(server.requests().empty());
}

struct ResponseCase {
    const char* name;
    std::string responseHeaders;
    std::string cookiesIn;
    std::string locationIn;
    std::string expectedNewCookies;
    std::string expectedCookies;
    std::string expectedLocation; // "{RAW}" for the whole raw header block
};

TEST(HttpRequestResponse, CookiesAndLocationFromTheHeaderBlock) {
    const std::vector<ResponseCase> cases = {
        {"cookie without attributes, no location", "Set-Cookie: sid=abc\r\n", "", "", "sid=abc",
         "sid=abc", "{RAW}"},
        {"merge example",
         "Set-Cookie: b=3; Path=/\r\nSet-Cookie: c=deleted; expires=Thu, 01 Jan 1970\r\n",
         "a=1;b=2", "", "b=3;c=deleted", "b=3; a=1", "{RAW}"},
        {"deleted cookie removes the old one", "Set-Cookie: a=deleted\r\n", "a=1; b=2", "",
         "a=deleted", "b=2", "{RAW}"},
        {"last Location line wins", "Location: /first\r\nLocation:  /second \r\n", "", "", "", "",
         "/second"},
        {"given location kept without a Location line", "X-Other: 1\r\n", "", "given", "", "",
         "given"},
    };
    for (const ResponseCase& c : cases) {
        SCOPED_TRACE(c.name);
        RawHttpServer server([&](const RecordedRequest&) {
            return Reply{httpResponse("200 OK", c.responseHeaders, "body")};
        });
        Text cookies = c.cookiesIn;
        Text newCookies = "stale";
        Text location = c.locationIn;
        Text rawHeaders;
        EXPECT_EQ(sendRequest({.address = server.url(),
                               .cookies = &cookies,
                               .newCookies = &newCookies,
                               .location = &location,
                               .noRedirect = true,
                               .rawHeaders = &rawHeaders}),
                  "body");
        EXPECT_EQ(rawHeaders, headBlock(httpResponse("200 OK", c.responseHeaders, "body")));
        EXPECT_EQ(newCookies, c.expectedNewCookies);
        EXPECT_EQ(cookies, c.expectedCookies);
        EXPECT_EQ(location, c.expectedLocation == "{RAW}" ? rawHeaders : c.expectedLocation);
    }
}

TEST(HttpRequestResponse, LongHeaderBlockComesBackWhole) {
    const std::string filler(6000, 'x');
    RawHttpServer server([&](const RecordedRequest&) {
        return Reply{httpResponse(
            "302 Found", "X-Filler: " + filler + "\r\nSet-Cookie: s=1\r\nLocation: /next\r\n", "")};
    });
    Text newCookies, location, rawHeaders;
    sendRequest({.address = server.url(),
                 .newCookies = &newCookies,
                 .location = &location,
                 .noRedirect = true,
                 .rawHeaders = &rawHeaders});
    EXPECT_GT(rawHeaders.size(), 6000u);
    EXPECT_NE(rawHeaders.find(filler), std::string::npos);
    EXPECT_EQ(location, "/next");
    EXPECT_EQ(newCookies, "s=1");
}

// /start redirects to /final and sets a cookie on the way.
Reply redirectingReply(const RecordedRequest& request) {
    if (request.requestLine().starts_with("GET /start") ||
        request.requestLine().starts_with("POST /start"))
        return {httpResponse("302 Found", "Location: /final\r\nSet-Cookie: hop=1\r\n", "moved")};
    return {httpResponse("200 OK", "X-Final: yes\r\n", "final page")};
}

TEST(HttpRequestRedirect, FollowedUnlessNoRedirect) {
    RawHttpServer server(redirectingReply);
    Text location, rawHeaders, newCookies;
    EXPECT_EQ(sendRequest({.address = server.url("/start"),
                           .newCookies = &newCookies,
                           .location = &location,
                           .rawHeaders = &rawHeaders}),
              "final page");
    auto requests = server.requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].requestLine(), "GET /final HTTP/1.1");
    EXPECT_EQ(requests[1].header("Cookie"), "") << "no cookie store of the client's own";
    EXPECT_EQ(rawHeaders, headBlock(redirectingReply(RecordedRequest{}).bytes));
    EXPECT_EQ(location, rawHeaders);
    EXPECT_EQ(newCookies, "");

    EXPECT_EQ(sendRequest({.address = server.url("/start"),
                           .newCookies = &newCookies,
                           .location = &location,
                           .noRedirect = true}),
              "moved");
    EXPECT_EQ(server.requests().size(), 3u);
    EXPECT_EQ(location, "/final");
    EXPECT_EQ(newCookies, "hop=1");
}

TEST(HttpRequestRedirect, PostTurnsIntoGet) {
    RawHttpServer server(redirectingReply);
    EXPECT_EQ(sendRequest({.address = server.url("/start"), .method = 1, .postText = "a=1"}),
              "final page");
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].requestLine(), "POST /start HTTP/1.1");
    EXPECT_EQ(requests[1].requestLine(), "GET /final HTTP/1.1");
    EXPECT_EQ(requests[1].body, "");
}

struct FailureCase {
    const char* name;
    std::string address;
};

TEST(HttpRequestFailure, NothingSentLeavesParametersAsGiven) {
    const std::vector<FailureCase> cases = {
        {"refused connection", "http://127.0.0.1:" + std::to_string(test::closedPort()) + "/"},
        {"unknown host", "http://no-such-host.invalid/page"},
        {"empty address", ""},
        {"port out of range", "http://127.0.0.1:99999999/"},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.name);
        Text cookies = "a=1", newCookies = "n", headers = "X-Mine: 1", location = "loc",
             rawHeaders = "raw";
        Bytes postBytes = "pb";
        const auto started = std::chrono::steady_clock::now();
        EXPECT_EQ(sendRequest({.address = c.address,
                               .method = 1,
                               .postText = "text",
                               .cookies = &cookies,
                               .newCookies = &newCookies,
                               .headers = &headers,
                               .location = &location,
                               .postBytes = &postBytes,
                               .rawHeaders = &rawHeaders},
                              test::quickOptions()),
                  "");
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(3));
        EXPECT_EQ(cookies, "a=1");
        EXPECT_EQ(newCookies, "n");
        EXPECT_EQ(headers, "X-Mine: 1");
        EXPECT_EQ(location, "loc");
        EXPECT_EQ(rawHeaders, "raw");
        EXPECT_EQ(postBytes, "pb");
    }
}

struct BrokenServerCase {
    const char* name;
    Reply reply;
    std::string expectedBody;
    std::string expectedRawHeaders;
};

TEST(HttpRequestFailure, BrokenServersGivePartialResultsWithoutHanging) {
    const std::string head = "HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n";
    const std::vector<BrokenServerCase> cases = {
        {"closes mid-body", {head + "first half"}, "first half", head},
        {"stalls mid-body", {head + "first half", true}, "first half", head},
        {"sends nothing", {"", true}, "", ""},
        {"closes without answering", {""}, "", ""},
    };
    for (const BrokenServerCase& c : cases) {
        SCOPED_TRACE(c.name);
        RawHttpServer server([&](const RecordedRequest&) { return c.reply; });
        Text rawHeaders = "before", location;
        const auto started = std::chrono::steady_clock::now();
        EXPECT_EQ(
            sendRequest({.address = server.url(), .location = &location, .rawHeaders = &rawHeaders},
                        test::quickOptions()),
            c.expectedBody);
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
        EXPECT_EQ(server.requests().size(), 1u);
        // The request reached the server, so the outputs describe what came back.
        EXPECT_EQ(rawHeaders, c.expectedRawHeaders);
        EXPECT_EQ(location, c.expectedRawHeaders);
    }
}

TEST(HttpRequestFailure, BodyIsCutOffAtTheLimit) {
    const std::string big(50'000, 'b');
    RawHttpServer server(
        [&](const RecordedRequest&) { return Reply{httpResponse("200 OK", "", big)}; });
    TransferOptions options = test::quickOptions();
    options.maxBodyBytes = 1000;
    EXPECT_EQ(sendRequest({.address = server.url()}, options), std::string(1000, 'b'));
}

TEST(HttpRequestApi, PublicOperationKeepsParameterOrder) {
    RawHttpServer server([](const RecordedRequest&) {
        return Reply{httpResponse("302 Found", "Location: /there\r\nSet-Cookie: n=2\r\n", "moved")};
    });
    Text cookies = "o=1", newCookies, headers = "X-Order: 1", location, rawHeaders;
    Bytes postBytes;
    const Bytes body = httpRequest(server.url("/here"), 1, "pt", &cookies, &newCookies, &headers,
                                   &location, true, &postBytes, "", &rawHeaders);
    EXPECT_EQ(body, "moved");
    EXPECT_EQ(cookies, "n=2; o=1");
    EXPECT_EQ(newCookies, "n=2");
    EXPECT_TRUE(headers.starts_with("X-Order: 1\r\nReferer: " + server.url("/here")));
    EXPECT_EQ(location, "/there");
    EXPECT_EQ(postBytes, "pt");
    EXPECT_TRUE(rawHeaders.starts_with("HTTP/1.1 302 Found\r\n"));
    ASSERT_EQ(server.requests().size(), 1u);
    EXPECT_EQ(server.requests()[0].requestLine(), "POST /here HTTP/1.1");
    EXPECT_EQ(server.requests()[0].header("Cookie"), "o=1");
}

TEST(FetchPage, BodyAsCodePageText) {
    RawHttpServer server([](const RecordedRequest& request) {
        if (request.requestLine().starts_with("GET /utf8"))
            return Reply{httpResponse("200 OK", "", "\xE7\xAC\xAC\xE4\xB8\x80\xE7\xAB\xA0 ok")};
        if (request.requestLine().starts_with("GET /error"))
            return Reply{httpResponse("404 Not Found", "", "missing")};
        return Reply{httpResponse("200 OK", "", std::string("\xB5\xDA\xD2\xBB\0tail", 9))};
    });
    EXPECT_EQ(fetchPage(server.url("/gbk")), "\xB5\xDA\xD2\xBB");
    EXPECT_EQ(fetchPageUtf8(server.url("/utf8")), "\xB5\xDA\xD2\xBB\xD5\xC2 ok");
    EXPECT_EQ(fetchPage(server.url("/error")), "missing") << "status codes are not examined";
    EXPECT_EQ(fetchPage("http://127.0.0.1:" + std::to_string(test::closedPort()) + "/"), "");
}

TEST(FetchPage, WorksFromSeveralThreadsAtOnce) {
    RawHttpServer server([](const RecordedRequest& request) {
        return Reply{httpResponse("200 OK", "", "echo " + request.requestLine())};
    });
    std::vector<std::string> pages(4);
    std::vector<std::thread> workers;
    for (size_t i = 0; i < pages.size(); ++i)
        workers.emplace_back([&, i] { pages[i] = fetchPage(server.url("/" + std::to_string(i))); });
    for (auto& worker : workers)
        worker.join();
    for (size_t i = 0; i < pages.size(); ++i)
        EXPECT_EQ(pages[i], "echo GET /" + std::to_string(i) + " HTTP/1.1");
}

} // namespace
} // namespace mz
