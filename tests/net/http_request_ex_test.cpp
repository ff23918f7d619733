#include "net/http_request.h"
#include "net/send_request.h"

#include "net_test_support.h"
#include "raw_http_server.h"

#include <gtest/gtest.h>

namespace mz {
namespace {

using test::httpResponse;
using test::RawHttpServer;
using test::RecordedRequest;
using test::Reply;

const std::string agentLine = "User-Agent: Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)\r\n";

Reply okReply(const RecordedRequest& request) {
    if (request.requestLine().starts_with("HEAD "))
        return {"HTTP/1.1 200 OK\r\nContent-Length: 4\r\nConnection: close\r\n\r\n"};
    return {httpResponse("200 OK", "", "page")};
}

struct VerbCase {
    int method;
    std::string verb;
    bool body;
};

TEST(HttpRequestExWire, VerbTable) {
    const std::vector<VerbCase> cases = {
        {0, "GET", false},    {1, "POST", true},   {2, "HEAD", false}, {3, "PUT", true},
        {4, "OPTIONS", true}, {5, "DELETE", true}, {6, "TRACE", true}, {7, "CONNECT", true},
        {9, "GET", false},    {-1, "GET", false},
    };
    RawHttpServer server(okReply);
    for (const VerbCase& c : cases) {
        SCOPED_TRACE(c.method);
        const Bytes body = sendRequestEx(
            {.address = server.url("/Verb?M=1"), .method = c.method, .postText = "pt"},
            test::quickOptions());
        EXPECT_EQ(body, c.verb == "HEAD" ? "" : "page");
        const RecordedRequest request = server.requests().back();
        EXPECT_EQ(request.requestLine(), c.verb + " /Verb?M=1 HTTP/1.1");
        EXPECT_EQ(request.body, c.body ? "pt" : "");
        EXPECT_EQ(request.header("Content-Length"), c.body ? "2" : "");
    }
    EXPECT_EQ(server.requests().size(), cases.size());
}

struct ExWireCase {
    const char* name;
    int method;
    std::string headers;
    Text* cookies;
    std::string expectedAgentLine;
    std::string expectedHeaderText; // {A} stands for the address
};

TEST(HttpRequestExWire, HeaderTextIsExact) {
    Text plainCookies = "a=1; b=2";
    Text labelledCookies = "Cookie: a=1";
    const std::vector<ExWireCase> cases = {
        {"get, nothing given", 0, "", nullptr, agentLine,
         "Accept: */*\r\nReferer: {A}\r\nAccept-Language: zh-cn"},
        {"post adds the form type", 1, "", nullptr, agentLine,
         "Accept: */*\r\nReferer: {A}\r\nAccept-Language: zh-cn\r\nContent-Type: "
         "application/x-www-form-urlencoded"},
        {"put sends no content type", 3, "", nullptr, agentLine,
         "Accept: */*\r\nReferer: {A}\r\nAccept-Language: zh-cn"},
        {"own header first", 0, "X-Mine: 1", nullptr, agentLine,
         "X-Mine: 1\r\nAccept: */*\r\nReferer: {A}\r\nAccept-Language: zh-cn"},
        {"agent given", 0, "User-Agent: Reader/2", nullptr, "",
         "User-Agent: Reader/2\r\nAccept: */*\r\nReferer: {A}\r\nAccept-Language: zh-cn"},
        {"agent given in lower case", 0, "user-agent: lower", nullptr, "",
         "user-agent: lower\r\nAccept: */*\r\nReferer: {A}\r\nAccept-Language: zh-cn"},
        {"cookies", 0, "", &plainCookies, agentLine,
         "Accept: */*\r\nReferer: {A}\r\nAccept-Language: zh-cn\r\nCookie: a=1; b=2"},
        {"cookies with their own label", 0, "", &labelledCookies, agentLine,
         "Accept: */*\r\nReferer: {A}\r\nAccept-Language: zh-cn\r\nCookie: a=1"},
    };
    for (const ExWireCase& c : cases) {
        SCOPED_TRACE(c.name);
        RawHttpServer server(okReply);
        const std::string address = server.url("/tts?Text=Hello");
        Text headers = c.headers;
        Text cookies = c.cookies ? *c.cookies : Text();
        sendRequestEx({.address = address,
                       .method = c.method,
                       .postText = "pt",
                       .cookies = c.cookies ? &cookies : nullptr,
                       .headers = &headers});
        std::string expectedText = c.expectedHeaderText;
        expectedText.replace(expectedText.find("{A}"), 3, address);
        EXPECT_EQ(headers, expectedText);
        ASSERT_EQ(server.requests().size(), 1u);
        const std::string verb = c.method == 1 ? "POST" : c.method == 3 ? "PUT" : "GET";
        EXPECT_EQ(server.requests()[0].head,
                  verb + " /tts?Text=Hello HTTP/1.1\r\nHost: 127.0.0.1:" +
                      std::to_string(server.port()) + "\r\n" + c.expectedAgentLine + expectedText +
                      (c.method != 0 ? "\r\nContent-Length: 2" : ""));
    }
}

TEST(HttpRequestExWire, ProxyServesPlainAndSecureAddresses) {
    RawHttpServer proxy([](const RecordedRequest& request) {
        if (request.requestLine().starts_with("CONNECT "))
            return Reply{httpResponse("403 Forbidden", "", "")};
        return Reply{httpResponse("200 OK", "", "via proxy")};
    });
    const Text proxyAddress = "127.0.0.1:" + std::to_string(proxy.port());
    EXPECT_EQ(sendRequestEx({.address = "http://speech.invalid/say?t=1", .proxy = proxyAddress},
                            test::quickOptions()),
              "via proxy");
    sendRequestEx({.address = "https://speech.invalid/say?t=1", .proxy = proxyAddress},
                  test::quickOptions());
    const auto requests = proxy.requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].requestLine(), "GET http://speech.invalid/say?t=1 HTTP/1.1");
    EXPECT_EQ(requests[1].requestLine(), "CONNECT speech.invalid:443 HTTP/1.1");
}

struct ExCookieCase {
    const char* name;
    bool passCookies;
    bool mergeCookies;
    std::string expectedCookies;
    std::string expectedNewCookies;
};

TEST(HttpRequestExCookies, MergedOnlyWhenPassedAndWanted) {
    RawHttpServer server([](const RecordedRequest&) {
        return Reply{httpResponse(
            "200 OK", "Set-Cookie: b=3; Path=/\r\nSet-Cookie: c=deleted; Max-Age=0\r\n", "ok")};
    });
    const std::vector<ExCookieCase> cases = {
        {"merged", true, true, "b=3;a=1", "b=3;a=1"},
        {"merge switched off", true, false, "a=1;b=2", "b=3; c=deleted"},
        {"cookies omitted", false, true, "", "b=3; c=deleted"},
    };
    for (const ExCookieCase& c : cases) {
        SCOPED_TRACE(c.name);
        Text cookies = "a=1;b=2";
        Text newCookies = "stale";
        Text rawHeaders;
        EXPECT_EQ(sendRequestEx({.address = server.url(),
                                 .cookies = c.passCookies ? &cookies : nullptr,
                                 .newCookies = &newCookies,
                                 .rawHeaders = &rawHeaders,
                                 .mergeCookies = c.mergeCookies}),
                  "ok");
        if (c.passCookies) {
            EXPECT_EQ(cookies, c.expectedCookies);
        }
        EXPECT_EQ(newCookies, c.expectedNewCookies);
        EXPECT_TRUE(rawHeaders.starts_with("HTTP/1.1 200 OK\r\nSet-Cookie: b=3; Path=/\r\n"));
    }
}

TEST(HttpRequestExCookies, OwnCookieHandlingOnlyWithoutCallerCookies) {
    RawHttpServer server([](const RecordedRequest& request) {
        if (request.requestLine().starts_with("GET /start"))
            return Reply{
                httpResponse("302 Found", "Location: /final\r\nSet-Cookie: hop=1\r\n", "")};
        return Reply{httpResponse("200 OK", "", "final")};
    });
    EXPECT_EQ(sendRequestEx({.address = server.url("/start")}), "final");
    Text noCookies;
    EXPECT_EQ(sendRequestEx({.address = server.url("/start"), .cookies = &noCookies}), "final");
    Text rawHeaders;
    EXPECT_EQ(sendRequestEx(
                  {.address = server.url("/start"), .rawHeaders = &rawHeaders, .noRedirect = true}),
              "");
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 5u);
    EXPECT_EQ(requests[1].requestLine(), "GET /final HTTP/1.1");
    EXPECT_EQ(requests[1].header("Cookie"), "hop=1");
    EXPECT_EQ(requests[3].header("Cookie"), "");
    EXPECT_TRUE(rawHeaders.starts_with("HTTP/1.1 302 Found\r\nLocation: /final\r\n"));
}

TEST(HttpRequestExFailure, NothingSentLeavesParametersAsGiven) {
    Text cookies = "a=1", newCookies = "n", headers = "X-Mine: 1", rawHeaders = "raw";
    Bytes postBytes = "pb";
    const Bytes body =
        httpRequestEx("http://127.0.0.1:" + std::to_string(test::closedPort()), 1, "text", &cookies,
                      &newCookies, &headers, &rawHeaders, false, &postBytes, "", true);
    EXPECT_EQ(body, "");
    EXPECT_EQ(cookies, "a=1");
    EXPECT_EQ(newCookies, "n");
    EXPECT_EQ(headers, "X-Mine: 1");
    EXPECT_EQ(rawHeaders, "raw");
    EXPECT_EQ(postBytes, "pb");
}

TEST(HttpRequestExApi, PublicOperationKeepsParameterOrder) {
    RawHttpServer server([](const RecordedRequest&) {
        return Reply{httpResponse("302 Found", "Location: /x\r\nSet-Cookie: n=2\r\n", "moved")};
    });
    Text cookies = "o=1", newCookies, headers, rawHeaders;
    Bytes postBytes;
    EXPECT_EQ(httpRequestEx(server.url("/p"), 3, "body", &cookies, &newCookies, &headers,
                            &rawHeaders, true, &postBytes, "", false),
              "moved");
    EXPECT_EQ(cookies, "o=1");
    EXPECT_EQ(newCookies, "n=2");
    EXPECT_TRUE(headers.starts_with("Accept: */*\r\nReferer: "));
    EXPECT_TRUE(rawHeaders.starts_with("HTTP/1.1 302 Found\r\n"));
    EXPECT_EQ(postBytes, "body");
    ASSERT_EQ(server.requests().size(), 1u);
    EXPECT_EQ(server.requests()[0].requestLine(), "PUT /p HTTP/1.1");
    EXPECT_EQ(server.requests()[0].header("Cookie"), "o=1");
}

} // namespace
} // namespace mz
