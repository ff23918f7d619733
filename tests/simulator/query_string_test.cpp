#include "query_string.h"

#include <gtest/gtest.h>

namespace mz::sim {
namespace {

TEST(QueryString, DecodesEscapesToRawBytes) {
    const struct {
        const char* escaped;
        std::string bytes;
    } cases[] = {
        {"%E4%B8%AD", "\xE4\xB8\xAD"},
        {"%d6%d0", "\xD6\xD0"},
        {"a+b%20c", "a b c"},
        {"100%", "100%"},
        {"%zz%4", "%zz%4"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(percentDecode(c.escaped), c.bytes) << c.escaped;
}

TEST(QueryString, SplitsAtAmpersandsFirstNameWins) {
    auto query = parseQuery("/s.php?ie=gbk&q=%D6%D0&q=second&bare&empty=#frag=1");
    EXPECT_EQ(query["ie"], "gbk");
    EXPECT_EQ(query["q"], "\xD6\xD0");
    EXPECT_EQ(query.count("bare"), 0u);
    EXPECT_EQ(query["empty"], "");
    EXPECT_EQ(query.count("frag"), 0u);
    EXPECT_TRUE(parseQuery("/path/without/query").empty());
}

TEST(QueryString, UnescapedAmpersandInAWordCutsIt) {
    // encodeURI leaves "&" alone, so the site sees only the part before it.
    auto query = parseQuery("/modules/article/search.php?searchkey=a%20&%20b");
    EXPECT_EQ(query["searchkey"], "a ");
}

} // namespace
} // namespace mz::sim
