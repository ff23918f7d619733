#include "text/pattern_object.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <thread>
#include <vector>

namespace mz {
namespace {

// GBK spellings of the Chinese used below.
const Text zhang = "\xD5\xC2";                // 章
const Text di = "\xB5\xDA";                   // 第
const Text yi = "\xD2\xBB";                   // 一
const Text er = "\xB6\xFE";                   // 二
const Text wen = "\xCE\xC4";                  // 文
const Text author = "\xD7\xF7\xD5\xDF";       // 作者
const Text fullColon = "\xA3\xBA";            // ：
const Text fullSpace = "\xA1\xA1";            // ideographic space
const Text fullA = "\xA3\xC1";                // Ａ
const Text fulla = "\xA3\xE1";                // ａ
const Text fullOneTwo = "\xA3\xB1\xA3\xB2";   // １２
const Text placeholder = "#\xD2\xFD\xBA\xC5"; // #引号

using Texts = std::vector<Text>;

// All match texts, or all texts of one group, of the last search.
Texts column(const PatternObject& p, int group = 0) {
    Texts out;
    for (int i = 1; i <= p.matchCount(); ++i)
        out.push_back(group == 0 ? p.matchText(i) : p.submatchText(i, group));
    return out;
}

struct SearchCase {
    const char* name;
    Text pattern;
    Text subject;
    Texts matches;
    bool caseSensitive = false;
    bool multiline = true;
    bool global = true;
};

void expectMatches(const SearchCase& c) {
    PatternObject p;
    ASSERT_TRUE(p.search(c.pattern, c.subject, c.caseSensitive, c.multiline, c.global)) << c.name;
    EXPECT_EQ(column(p), c.matches) << c.name;
}

TEST(PatternObject, FreshObjectReadsEmpty) {
    PatternObject p;
    p.nop();
    EXPECT_EQ(p.matchCount(), 0);
    EXPECT_EQ(p.submatchCount(), 0);
    EXPECT_EQ(p.matchText(1), "");
    EXPECT_EQ(p.submatchText(1, 1), "");
    EXPECT_EQ(p.patternText(), "");
    EXPECT_EQ(p.replace("x"), "");
}

TEST(PatternObject, SearchThatFindsNothingSucceeds) {
    PatternObject p;
    EXPECT_TRUE(p.search("<p>(.*?)</p>", "no paragraphs here"));
    EXPECT_EQ(p.matchCount(), 0);
    EXPECT_EQ(p.submatchCount(), 0);
    EXPECT_EQ(p.submatchText(1, 1), "");
    EXPECT_EQ(p.patternText(), "<p>(.*?)</p>");
    EXPECT_EQ(p.replace("x"), "no paragraphs here");
}

TEST(PatternObject, RowsOfGroupsByOneBasedIndex) {
    PatternObject p;
    const Text page = "<dd><a href=\"/1.html\">" + di + yi + zhang + "</a></dd>\r\n" +
                      "<dd><a href=\"/2.html\">" + di + er + zhang + "</a></dd>\r\n";
    ASSERT_TRUE(p.search("<dd><a href=\"(.*?)\">(.*?)</a></dd>", page));
    ASSERT_EQ(p.matchCount(), 2);
    EXPECT_EQ(p.submatchCount(), 2);
    EXPECT_EQ(column(p, 1), (Texts{"/1.html", "/2.html"}));
    EXPECT_EQ(column(p, 2), (Texts{di + yi + zhang, di + er + zhang}));
    EXPECT_EQ(p.matchText(2), "<dd><a href=\"/2.html\">" + di + er + zhang + "</a></dd>");
}

TEST(PatternObject, Flags) {
    const SearchCase cases[] = {
        {"case ignored by default", "abc", "ABC aBc abc", {"ABC", "aBc", "abc"}},
        {"case respected", "abc", "ABC aBc abc", {"abc"}, true},
        {"case ignored beyond ASCII", fulla, fullA + fulla, {fullA, fulla}},
        {"^ at CR and LF with multiline", "^\\w", "a\r\nb\rc\nd", {"a", "b", "c", "d"}},
        {"$ at CR and LF with multiline", "\\w$", "a\r\nb\rc\nd", {"a", "b", "c", "d"}},
        {"^ only at the start without multiline", "^\\w", "a\r\nb", {"a"}, false, false},
        {"$ only at the very end without multiline", "\\w$", "a\nb\n", {}, false, false},
        {"$ at the end without multiline", "\\w$", "a\nb", {"b"}, false, false},
        {"global finds every match", "a", "aaa", {"a", "a", "a"}},
        {"global off finds the first", "a", "baaa", {"a"}, false, true, false},
        {"global off and no match", "x", "aaa", {}, false, true, false},
        {"lazy groups stop at the first delimiter", "<(.*?)>", "<a><b>", {"<a>", "<b>"}},
        {"greedy groups run to the last one", "<(.*)>", "<a><b>", {"<a><b>"}},
        {"empty matches advance one unit", "x*", "ab", {"", "", ""}},
        {"lazy empty matches advance one unit", "a*?", "aa", {"", "", ""}},
    };
    for (const auto& c : cases)
        expectMatches(c);
}

TEST(PatternObject, DotAndLineEnds) {
    const SearchCase cases[] = {
        {"dot matches neither CR nor LF, but form feed and tab",
         "a.c",
         "a\rc a\nc a\fc a\tc abc",
         {"a\fc", "a\tc", "abc"}},
        {"lazy group does not cross LF",
         "<p>(.*?)</p>",
         "<p>one\ntwo</p><p>three</p>",
         {"<p>three</p>"}},
        {"lazy group does not cross CR", "<p>(.*?)</p>", "<p>one\rtwo</p>", {}},
        {"line ends spelt out are crossed",
         "<td>(.*?)</td>\\r\\n<td>(.*?)</td>",
         "<td>a</td>\r\n<td>b</td>",
         {"<td>a</td>\r\n<td>b</td>"}},
        {"negated brackets cross line ends", "a[^x]b", "a\nb", {"a\nb"}},
        {"form feed in escapes, classes and ranges",
         "\\f[\\s][^a][\\x00-\\x20].",
         "\f\f\f\f\f",
         {"\f\f\f\f\f"}},
        {"form feed case-sensitive", "\\f[^a].", "\f\f\f", {"\f\f\f"}, true},
        {"form feed outside a negated class", "[^\\f]+", "a\fb", {"a", "b"}},
    };
    for (const auto& c : cases)
        expectMatches(c);
}

// The dialect's classes are ASCII: Chinese is neither a word character nor a digit.
TEST(PatternObject, DialectClassesAndEscapes) {
    const SearchCase cases[] = {
        {"\\w is ASCII only", "\\w+", "ab" + wen + "cd", {"ab", "cd"}},
        {"\\d is ASCII only", "\\d+", fullOneTwo + "3", {"3"}},
        {"\\s excludes the ideographic space", "\\s", "a" + fullSpace + "\t b", {"\t", " "}},
        {"\\b between ASCII and Chinese",
         "\\bcat\\b",
         "cat" + zhang + "cat concat",
         {"cat", "cat"}},
        {"\\B inside a word", "\\Bcat", "cat concat", {"cat"}},
        {"hex, unicode and octal escapes", "\\x41\\u0042\\103", "ABC", {"ABC"}},
        {"unicode escape of a Chinese character", "\\u7AE0", di + zhang, {zhang}},
        {"identity escapes", "\\.\\*\\z", "a.*z", {".*z"}},
        {"\\c and \\v", "\\cJ\\v", "\n\v", {"\n\v"}},
        {"brace that is no repeat is literal", "a{x}", "a{x}", {"a{x}"}},
        {"repeat counts", "a{2}b{1,}c{0,1}", "aabbc", {"aabbc"}},
        {"stray closing brackets are literal", "]}", "]}", {"]}"}},
        {"backreference", "(a|b)\\1", "abba", {"bb"}},
        {"reference to a group that did not take part is empty", "(a)?b\\1", "b", {"b"}},
        {"\\1 without a group is octal", "\\101", "A", {"A"}},
        {"empty brackets match nothing", "a[]", "a", {}},
        {"negated empty brackets match anything", "a[^]", "a\n", {"a\n"}},
        {"class escapes and ranges in brackets", "[\\d.-]+", "x1.5-2y", {"1.5-2"}},
        {"\\b in brackets is backspace", "[\\b]", "b\b", {"\b"}},
        {"lookahead", "a(?=b)", "ac ab", {"a"}},
        {"negative lookahead", "a(?!b)", "ab ac", {"a"}},
        {"POSIX-looking brackets are plain characters", "[[:a]+", "[:a", {"[:a"}},
    };
    for (const auto& c : cases)
        expectMatches(c);
}

// Here the engine reads characters, not bytes: a bracket expression with a Chinese
// character excludes that whole character, and repeats count characters.
TEST(PatternObject, ChineseSubjectsAndPatterns) {
    const SearchCase cases[] = {
        {"negated bracket excludes the whole character",
         "[^" + zhang + "]+",
         di + yi + zhang + di + er + zhang,
         {di + yi, di + er}},
        {"repeat counts characters",
         di + "(.{1,2})" + zhang,
         di + yi + zhang + di + yi + er + zhang,
         {di + yi + zhang, di + yi + er + zhang}},
        {"bracket of Chinese characters", "[" + yi + er + "]", di + yi + zhang + er, {yi, er}},
        {"no match on the second byte of a character", "\xC2\xB5", zhang + di, {}},
    };
    for (const auto& c : cases)
        expectMatches(c);

    PatternObject p;
    const Text page = "<div class=\"author\">" + author + fullColon + "tian</div>";
    ASSERT_TRUE(p.search(author + fullColon + "(.*?)</div>", page));
    EXPECT_EQ(p.submatchText(1, 1), "tian");
}

TEST(PatternObject, InvalidPatternFailsWithEmptyResults) {
    const Text patterns[] = {"(a",    "a)",     "[a",      "*a",  "a**", "(?<x>a)",  "a\\", "[z-a]",
                             "(?i)a", "a{3,1}", "(?<=a)b", "a|*", "^*",  "(?P<n>a)", "a++"};
    for (const auto& pattern : patterns) {
        PatternObject p;
        ASSERT_TRUE(p.search("(a)", "a"));
        EXPECT_FALSE(p.search(pattern, "a)(a**[z-a]")) << pattern;
        EXPECT_EQ(p.matchCount(), 0) << pattern;
        EXPECT_EQ(p.submatchCount(), 0) << pattern;
        EXPECT_EQ(p.matchText(1), "") << pattern;
        EXPECT_EQ(p.submatchText(1, 1), "") << pattern;
        EXPECT_EQ(p.replace("x"), "") << pattern;
        EXPECT_EQ(p.patternText(), pattern) << pattern;
    }
}

TEST(PatternObject, IndicesOutsideTheResultsReadEmpty) {
    PatternObject p;
    ASSERT_TRUE(p.search("(a)(b)(c)(d)(e)(f)(g)(h)", "abcdefgh abcdefgh"));
    ASSERT_EQ(p.matchCount(), 2);
    ASSERT_EQ(p.submatchCount(), 8);
    EXPECT_EQ(p.submatchText(2, 8), "h");
    const struct {
        int match;
        int group;
    } outside[] = {{3, 1}, {1, 9}, {0, 1}, {1, 0}, {-1, 1}, {1, -1}, {INT_MIN, 1}, {INT_MAX, 1}};
    for (const auto& o : outside) {
        int position = 99;
        EXPECT_EQ(p.submatchText(o.match, o.group, &position), "") << o.match << "," << o.group;
        EXPECT_EQ(position, -1) << o.match << "," << o.group;
    }
    EXPECT_EQ(p.matchText(0), "");
    EXPECT_EQ(p.matchText(3), "");
}

TEST(PatternObject, GroupThatTookNoPartReadsEmpty) {
    PatternObject p;
    ASSERT_TRUE(p.search("(\\d+)(x)?(y)", "1y 2xy"));
    ASSERT_EQ(p.matchCount(), 2);
    EXPECT_EQ(column(p, 1), (Texts{"1", "2"}));
    EXPECT_EQ(column(p, 2), (Texts{"", "x"}));
    EXPECT_EQ(column(p, 3), (Texts{"y", "y"}));
    int position = 99;
    EXPECT_EQ(p.submatchText(1, 2, &position), "");
    EXPECT_EQ(position, -1);
}

TEST(PatternObject, SecondSearchReplacesTheFirst) {
    PatternObject p;
    ASSERT_TRUE(p.search("(a)(b)", "ab ab ab"));
    ASSERT_EQ(p.matchCount(), 3);
    ASSERT_TRUE(p.search("(c)", "c"));
    EXPECT_EQ(p.matchCount(), 1);
    EXPECT_EQ(p.submatchCount(), 1);
    EXPECT_EQ(p.submatchText(1, 1), "c");
    EXPECT_EQ(p.submatchText(1, 2), "");
    EXPECT_EQ(p.submatchText(2, 1), "");
    EXPECT_EQ(p.patternText(), "(c)");

    EXPECT_FALSE(p.search("(", "c"));
    EXPECT_EQ(p.matchCount(), 0) << "a failed search leaves nothing of the one before";
}

TEST(PatternObject, QuotePlaceholder) {
    PatternObject p;
    const Text pattern = "href=" + placeholder + "(.*?)" + placeholder;
    ASSERT_TRUE(p.search(pattern, "<a href=\"/b/1\">", false, true, true, true));
    EXPECT_EQ(p.submatchText(1, 1), "/b/1");
    EXPECT_EQ(p.patternText(), "href=\"(.*?)\"");

    ASSERT_TRUE(p.search(pattern, "<a href=\"/b/1\">"));
    EXPECT_EQ(p.matchCount(), 0) << "without the option the placeholder is literal";
    ASSERT_TRUE(p.search(pattern, "href=" + placeholder + "x" + placeholder));
    EXPECT_EQ(p.submatchText(1, 1), "x");
    EXPECT_EQ(p.patternText(), pattern);

    ASSERT_TRUE(p.search("#" + placeholder, "#\"", false, true, true, true));
    EXPECT_EQ(p.matchCount(), 1);
}

TEST(PatternObject, ReplaceRules) {
    const struct {
        const char* name;
        Text pattern;
        Text subject;
        Text replacement;
        Text expected;
        bool global = true;
    } cases[] = {
        {"groups", "(\\w+)\\s(\\w+)", "John Smith", "$2, $1", "Smith, John"},
        {"whole match", "o", "foo", "[$&]", "f[o][o]"},
        {"text before", "b", "abc", "[$`]", "a[a]c"},
        {"text after", "b", "abc", "[$']", "a[c]c"},
        {"dollar", "b", "abc", "$$", "a$c"},
        {"missing group is literal", "(b)", "abc", "$2", "a$2c"},
        {"$0 is literal", "(b)", "abc", "$0", "a$0c"},
        {"one digit when two name no group", "(b)", "abc", "$10", "ab0c"},
        {"two digits with a leading zero", "(b)", "abc", "$01", "abc"},
        {"two digits", "(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)(k)(l)", "abcdefghijkl", "$12$11$1", "lka"},
        {"group that took no part", "(x)?b", "abc", "[$1]", "a[]c"},
        {"lone and trailing dollars", "b", "abc", "$x$", "a$x$c"},
        {"global off replaces the first", "a", "aaa", "b", "baa", false},
        {"no match keeps the subject", "x", "abc", "y", "abc"},
        {"empty matches", "x*", "ab", "-", "-a-b-"},
        {"Chinese", "(" + yi + ")", di + yi + zhang, "[$1]", di + "[" + yi + "]" + zhang},
    };
    for (const auto& c : cases) {
        PatternObject p;
        ASSERT_TRUE(p.search(c.pattern, c.subject, false, true, c.global)) << c.name;
        EXPECT_EQ(p.replace(c.replacement), c.expected) << c.name;
    }
}

TEST(PatternObject, CopySharesTheResultsOfTheSameSearch) {
    PatternObject original;
    ASSERT_TRUE(original.search("(\\d)", "a1b2"));
    const PatternObject copy(original);
    EXPECT_EQ(copy.matchCount(), 2);
    EXPECT_EQ(column(copy, 1), (Texts{"1", "2"}));
    EXPECT_EQ(copy.patternText(), "(\\d)");
    EXPECT_EQ(copy.replace("#"), "a#b#");

    // A new search gives the original new results; the copy keeps the old ones.
    ASSERT_TRUE(original.search("(x)", "x"));
    EXPECT_EQ(original.matchCount(), 1);
    EXPECT_EQ(copy.matchCount(), 2);
    EXPECT_EQ(copy.submatchText(2, 1), "2");
    EXPECT_EQ(copy.replace("#"), "a#b#") << "the copy keeps its own subject";
}

// Positions are 0-based byte offsets into the subject, also where the subject's
// Chinese makes UTF-16 positions and byte positions differ.
TEST(PatternObject, PositionIsTheByteOffsetOfTheReturnedText) {
    const struct {
        const char* name;
        Text pattern;
        Text subject;
        int match;
        int group; // 0: the whole match
        int position;
    } cases[] = {
        {"ASCII", "abc", "xxabc", 1, 0, 2},
        {"after Chinese", "abc", di + yi + zhang + "abc", 1, 0, 6},
        {"second match", "a", zhang + "a" + zhang + "a", 2, 0, 5},
        {"group", "<(b)>", di + "<b>", 1, 1, 3},
        {"group text that also stands earlier in the match", "a(a)", "aa", 1, 1, 1},
        // One replacement character for two bytes, or for one when the second is ASCII.
        {"after a lead byte with a high bad trail byte", "abc",
         "\x81\xFF"
         "abc",
         1, 0, 2},
        {"after a lead byte with an ASCII bad trail byte", "abc",
         "\x81\x7F"
         "abc",
         1, 0, 2},
    };
    for (const auto& c : cases) {
        PatternObject p;
        ASSERT_TRUE(p.search(c.pattern, c.subject)) << c.name;
        int position = 99;
        const Text text = c.group == 0 ? p.matchText(c.match, &position)
                                       : p.submatchText(c.match, c.group, &position);
        EXPECT_EQ(position, c.position) << c.name;
        EXPECT_EQ(c.subject.substr(position, text.size()), text) << c.name;
    }
}

// Texts read back are the subject's characters converted back to GBK: the bytes
// themselves for whole characters, "?" where a broken sequence stood.
TEST(PatternObject, TextsOfWholeAndBrokenCharacters) {
    const struct {
        const char* name;
        Text subject;
        Texts texts;
        std::vector<int> positions;
    } cases[] = {
        {"whole characters", di + "a" + zhang + "\x80", {di, "a", zhang, "\x80"}, {0, 2, 3, 5}},
        {"broken sequences",
         "a\x81\xFF" + zhang + "\x81\x7F",
         {"a", "?", zhang, "?", "\x7F"},
         {0, 1, 3, 5, 6}},
    };
    for (const auto& c : cases) {
        PatternObject p;
        ASSERT_TRUE(p.search("(.)", c.subject)) << c.name;
        EXPECT_EQ(column(p, 1), c.texts) << c.name;
        std::vector<int> positions;
        for (int i = 1; i <= p.matchCount(); ++i) {
            int position = -1;
            p.submatchText(i, 1, &position);
            positions.push_back(position);
        }
        EXPECT_EQ(positions, c.positions) << c.name;
    }
}

// A pattern that backtracks without end on a hostile page ends as a failed search.
TEST(PatternObject, ExplodingBacktrackingFailsTheSearch) {
    const struct {
        Text pattern;
        Text subject;
    } cases[] = {
        {"(a+)+b", Text(1 << 20, 'a')},
        {"(\\w+\\s?)*$", Text(1 << 20, 'a') + "!"},
    };
    for (const auto& c : cases) {
        PatternObject p;
        EXPECT_FALSE(p.search(c.pattern, c.subject)) << c.pattern;
        EXPECT_EQ(p.matchCount(), 0) << c.pattern;
        EXPECT_EQ(p.submatchText(1, 1), "") << c.pattern;
    }
}

// Page matching runs on worker threads, each with its own object.
TEST(PatternObject, InstancesOnSeveralThreads) {
    constexpr int threads = 4;
    std::vector<int> wrong(threads, 0);
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t) {
        workers.emplace_back([t, &wrong] {
            PatternObject p;
            const Text cell = std::to_string(t);
            Text page;
            for (int row = 0; row < 200; ++row)
                page += "<td>" + cell + di + "</td>\r\n";
            for (int round = 0; round < 20; ++round) {
                if (!p.search("<td>(\\d)" + di + "</td>", page) || p.matchCount() != 200 ||
                    p.submatchText(200, 1) != cell)
                    ++wrong[t];
            }
        });
    }
    for (auto& w : workers)
        w.join();
    EXPECT_EQ(wrong, std::vector<int>(threads, 0));
}

} // namespace
} // namespace mz
