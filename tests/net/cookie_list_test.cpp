#include "net/cookie_list.h"

#include <gtest/gtest.h>

namespace mz {
namespace {

TEST(CookieName, TextBeforeFirstEquals) {
    EXPECT_EQ(cookieName(" sid = a=b "), "sid");
    EXPECT_EQ(cookieName(" flag "), "flag");
    EXPECT_EQ(cookieName("=v"), "");
}

struct MergeCase {
    const char* name;
    std::string cookies, newCookies;
    std::string merged, newCookiesAfter;
};

TEST(MergeCookieLists, NewFirstThenOldDeletedDropped) {
    const std::vector<MergeCase> cases = {
        {"example", "a=1; b=2", "b=3; c=deleted", "b=3; a=1", "b=3;c=deleted"},
        {"deleted old cookie disappears", "a=1;b=2", "a=deleted", "b=2", "a=deleted"},
        {"spaces removed everywhere",
         "a = 1;\xA1\xA1"
         "b=2",
         "c=x y", "c=xy; a=1; b=2", "c=xy"},
        {"nothing new", "a=1;b=2", "", "a=1; b=2", ""},
        {"nothing old", "", "n=1; m=2", "n=1; m=2", "n=1;m=2"},
        {"both empty", "", "", "", ""},
        {"names compared with case", "A=1", "a=2", "a=2; A=1", "a=2"},
        {"repeats kept", "a=1", "b=1;b=2", "b=1; b=2; a=1", "b=1;b=2"},
    };
    for (const MergeCase& c : cases) {
        SCOPED_TRACE(c.name);
        Text cookies = c.cookies, newCookies = c.newCookies;
        EXPECT_EQ(mergeCookieLists(cookies, newCookies), c.merged);
        EXPECT_EQ(cookies, c.merged);
        EXPECT_EQ(newCookies, c.newCookiesAfter);
    }
}

TEST(MergeCookieListsEx, TrimsJoinsBySemicolonAndDropsRepeats) {
    const std::vector<MergeCase> cases = {
        {"example", "a=1;b=2", "b=3; c=deleted", "b=3;a=1", "b=3; c=deleted"},
        {"inner spaces stay", " a=1; b=2 ", "c=3", "c=3;a=1; b=2", "c=3"},
        {"exact repeats kept once", "x=1", "b=3;b=3; b=3", "b=3; b=3;x=1", "b=3;b=3; b=3"},
        {"deleted old cookie disappears", "a=1;b=2", "a=deleted", "b=2", "a=deleted"},
        {"both empty", "", "", "", ""},
    };
    for (const MergeCase& c : cases) {
        SCOPED_TRACE(c.name);
        Text cookies = c.cookies, newCookies = c.newCookies;
        EXPECT_EQ(mergeCookieListsEx(cookies, newCookies), c.merged);
        EXPECT_EQ(cookies, c.merged);
        EXPECT_EQ(newCookies, c.newCookiesAfter);
    }
}

struct SetCookieCase {
    const char* name;
    std::string rawHeaders;
    std::string expected;
    std::string expectedEx;
};

TEST(SetCookieList, ItemsOfTheResponseInOrder) {
    const std::string status = "HTTP/1.1 200 OK\r\n";
    const std::vector<SetCookieCase> cases = {
        {"without attributes", status + "Set-Cookie: sid=abc\r\n\r\n", "sid=abc", "sid=abc"},
        {"attributes stripped",
         status + "Set-Cookie: a=1; Path=/; HttpOnly\r\nSet-Cookie: b=2\r\n\r\n", "a=1; b=2",
         "a=1; b=2"},
        {"deleted cookie listed",
         status + "Set-Cookie: c=deleted; expires=Thu, 01-Jan-1970\r\n\r\n", "c=deleted",
         "c=deleted"},
        {"lower-case name", status + "set-cookie: l=1; path=/\r\n\r\n", "", ""},
        {"label in another header", status + "X-Set-Cookie: x=1; p\r\n\r\n", "x=1", ""},
        {"no space after the colon", status + "Set-Cookie:t=1;p\r\n\r\n", "t=1", ""},
        {"mention without the label adds no empty item",
         status + "X-Set-Cookie-Count: 1\r\nSet-Cookie: a=1\r\n\r\n", "a=1", "a=1"},
        {"none", status + "Content-Length: 0\r\n\r\n", "", ""},
    };
    for (const SetCookieCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(setCookieList(c.rawHeaders), c.expected);
        EXPECT_EQ(setCookieListEx(c.rawHeaders), c.expectedEx);
    }
}

} // namespace
} // namespace mz
