#include "net/url.h"

#include <gtest/gtest.h>

namespace mz {
namespace {

struct UrlCase {
    std::string address;
    std::string host;
    std::string hostWithPort;
    int port;
    std::string path;
};

TEST(Url, HostPortAndPath) {
    const std::vector<UrlCase> cases = {
        {"http://www.Example.com/a/B.html", "www.example.com", "www.example.com", 80, "/a/B.html"},
        {"HTTPS://WWW.EXAMPLE.COM/Path/File.HTML?Q=AbC", "www.example.com", "www.example.com", 443,
         "/Path/File.HTML?Q=AbC"},
        {"https://host.cn:8443/x", "host.cn", "host.cn:8443", 8443, "/x"},
        {"http://host.cn:8080", "host.cn", "host.cn:8080", 8080, "/"},
        {"www.no-scheme.com/index.php?id=7", "www.no-scheme.com", "www.no-scheme.com", 80,
         "/index.php?id=7"},
        {"Host.Only", "host.only", "host.only", 80, "/"},
        {"http://host.cn/", "host.cn", "host.cn", 80, "/"},
        {"http://host.cn/search?q=a/b&P=1#Top", "host.cn", "host.cn", 80, "/search?q=a/b&P=1#Top"},
        {"https://s/x", "s", "s", 443, "/x"},
        {"http://t:81/p", "t", "t:81", 81, "/p"},
    };
    for (const UrlCase& c : cases) {
        SCOPED_TRACE(c.address);
        EXPECT_EQ(urlHost(c.address), c.host);
        EXPECT_EQ(urlHost(c.address, true), c.hostWithPort);
        EXPECT_EQ(urlPort(c.address), c.port);
        EXPECT_EQ(urlPath(c.address), c.path);
    }
}

TEST(Url, GbkBytesAreNotLowerCased) {
    // 0xC4 0x41 is a double-byte character whose trail byte is the ASCII 'A'.
    EXPECT_EQ(urlHost("http://AB\xC4\x41.cn/"), "ab\xC4\x41.cn");
    EXPECT_EQ(urlPath("http://AB\xC4\x41.cn/\xC4\x41"), "/\xC4\x41");
}

TEST(Url, PortThatIsNoNumber) {
    EXPECT_EQ(urlPort("http://host:abc/"), 0);
    // A long digit run stays out of the port range instead of overflowing.
    EXPECT_GT(urlPort("http://host:99999999999999/"), 65535);
}

} // namespace
} // namespace mz
