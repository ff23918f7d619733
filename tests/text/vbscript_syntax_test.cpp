#include "text/vbscript_syntax.h"

#include <boost/regex/icu.hpp>
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace mz {
namespace {

std::u32string wide32(std::u16string_view text) {
    return std::u32string(text.begin(), text.end());
}

using Spans = std::vector<std::pair<long, long>>;

// Offset and length of every match and group, the way the page readers walk them.
Spans spans(const BoostPattern& pattern, const std::vector<std::int32_t>& units) {
    const std::vector<UChar32> syntax(pattern.syntax.begin(), pattern.syntax.end());
    const boost::u32regex re(syntax.data(), syntax.data() + syntax.size(),
                             boost::regex_constants::perl | boost::regex_constants::no_mod_s);
    Spans out;
    const UChar32* begin = units.data();
    const UChar32* end = begin + units.size();
    boost::match_results<const UChar32*> m;
    for (const UChar32* from = begin; from <= end;) {
        const auto flags = from > begin ? boost::match_prev_avail : boost::match_default;
        if (!boost::regex_search(from, end, m, re, flags, begin))
            break;
        for (size_t g = 0; g < m.size(); ++g)
            out.push_back(m[g].matched ? std::pair(m[g].first - begin, m[g].length())
                                       : std::pair(-1L, 0L));
        from = m[0].second + (m[0].length() == 0 ? 1 : 0);
    }
    return out;
}

// A subject where a stand-in for every unit above ASCII would show: Chinese, the
// Kelvin sign and long s (which fold to ASCII), full-width letters (which fold to
// each other), separators that "." refuses, and a surrogate pair.
const std::u16string mixedSubject =
    u"<td>\u7B2C\u4E00\u7AE0</td>\r\n<td>K\u212A\u017Fs\uFF21\uFF41</td>\u0085"
    u"<td>a\u2028b\u00E9\u00C9</td>\f<td>\U0001F600\u7AE0\u7AE0</td>\r\n";

// Merging the units above ASCII is allowed exactly when the pattern cannot tell them
// apart, and then finds the same matches and groups as the units themselves.
TEST(VbscriptSyntax, NonAsciiStandInKeepsEveryMatch) {
    const struct {
        std::u16string pattern;
        bool ignoreCase;
        bool alike;
    } cases[] = {
        {u"<td>(.*?)</td>", true, true},
        {u"<td>(.*?)</td>", false, true},
        {u"<td>([^<]*)</td>", true, true},
        {u"[a-z]+", true, true}, // its case closure holds the Kelvin sign and long s
        {u"[a-z]+", false, true},
        {u"\\W+", true, true},
        {u"[\\W\\d]+", true, true},
        {u"[^\\w]", false, true},
        {u"\\bs\\b|k", true, true},
        {u"^.*$", true, true},
        {u"[^]+", false, true},
        {u"\\u7AE0", true, false},
        {u"\u7B2C(.)\u7AE0", true, false},
        {u"[^\u7AE0<>]+", true, false},
        {u"[\u4E00-\u9FA5]+", false, false},
        {u"[\\x80-\\uFFFF]", false, true}, // every unit above ASCII
        {u"[\\xE9-\\uFFFF]", false, false},
        {u"\uFF41+", true, false},
        {u"\\xE9", false, false},
        {u"(.)\\1", true, false},
    };
    for (const auto& c : cases) {
        const auto pattern = toBoostPerlSyntax(wide32(c.pattern), true, c.ignoreCase);
        ASSERT_TRUE(pattern.has_value());
        const std::string name(c.pattern.begin(), c.pattern.end());
        EXPECT_EQ(pattern->nonAsciiAlike, c.alike) << name;
        const Spans exact = spans(*pattern, toMatchUnits(mixedSubject, c.ignoreCase, false));
        EXPECT_EQ(spans(*pattern, toMatchUnits(mixedSubject, c.ignoreCase, pattern->nonAsciiAlike)),
                  exact)
            << name;
        EXPECT_FALSE(exact.empty()) << name;
    }
}

// The stand-in replaces units above ASCII only after folding and after the
// separators have moved out of the character range.
TEST(VbscriptSyntax, MatchUnitsWithStandIn) {
    const std::u16string subject = u"aK\u212A\u7AE0\u0085\u2028\uFF21";
    const std::vector<std::int32_t> folded = toMatchUnits(subject, true, true);
    const std::vector<std::int32_t> kept = toMatchUnits(subject, false, true);
    EXPECT_EQ(folded, (std::vector<std::int32_t>{'a', 'k', 'k', 0x80, 0x110001, 0x110002, 0x80}));
    EXPECT_EQ(kept, (std::vector<std::int32_t>{'a', 'K', 0x80, 0x80, 0x110001, 0x110002, 0x80}));
}

} // namespace
} // namespace mz
