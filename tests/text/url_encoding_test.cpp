#include "text/url_encoding.h"

#include <gtest/gtest.h>

namespace mz {
namespace {

TEST(UrlEncoding, PercentEncode) {
    const struct {
        Text text;
        bool keepUnreserved;
        bool utf8;
        Text encoded;
    } cases[] = {
        {"", false, false, ""},
        {"", true, true, ""},
        {"ab c", false, false, "%61%62%20%63"},
        {"ab c", true, false, "ab%20c"},
        {"A%+", false, false, "%41%25%2B"},
        {"-.09AZaz", true, false, "-.09AZaz"},
        {"/_~", true, false, "%2F%5F%7E"},
        {"\xD6\xD0", false, false, "%D6%D0"},
        {"\xD6\xD0", true, false, "%D6%D0"},
        {"\xD6\xD0", false, true, "%E4%B8%AD"},
        {"a\xD6\xD0", true, true, "a%E4%B8%AD"},
        {"\r\n\x01", false, false, "%0D%0A%01"},
        {Text("a\0b", 3), false, false, "%61%00%62"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(percentEncode(c.text, c.keepUnreserved, c.utf8), c.encoded)
            << c.text << " keep=" << c.keepUnreserved << " utf8=" << c.utf8;
}

TEST(UrlEncoding, JsEncodeUri) {
    const struct {
        Text text;
        Text encoded;
    } cases[] = {
        {"", ""},
        {"a b\xD6\xD0", "a%20b%E4%B8%AD"},
        {"q=a&b?c#d", "q=a&b?c#d"},
        {";,/?:@&=+$-_.!~*'()#", ";,/?:@&=+$-_.!~*'()#"},
        {"100%", "100%25"},
        {"\xA1\xA1", "%E3%80%80"}, // full-width space
        {"\x80", "%E2%82%AC"},     // euro sign of code page 936
    };
    for (const auto& c : cases)
        EXPECT_EQ(jsEncodeUri(c.text), c.encoded) << c.text;
}

} // namespace
} // namespace mz
