// PatternObject against plain Boost.Regex on the same pages, measured in one run.
//
// 1. A 2 MB result page with 5 000 rows of an eight-group table pattern: search,
//    matchCount and every submatchText, beside one plain Boost.Regex pass (narrow
//    GBK bytes, the pattern as written, every group's extent read). Target: <= 2x.
// 2. Patterns whose backtracking explodes on a 1 MB single-line page: the search
//    must give up (false or no match) in under 2 s. The reference is one plain
//    Boost.Regex pass of a linear pattern over the same page.

#include "text/pattern_object.h"

#include <boost/regex.hpp>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Median wall time in milliseconds of `runs` calls.
double medianMs(int runs, const std::function<void()>& f) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        f();
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

const std::string title = "\xB6\xB7\xC6\xC6\xB2\xD4\xF1\xB7";                    // 斗破苍穹
const std::string chapter = "\xB5\xDA\xD2\xBB\xC7\xA7\xD5\xC2 \xBD\xE1\xCA\xF8"; // 第一千章 结束
const std::string writer = "\xCC\xEC\xB2\xCF\xCD\xC1\xB6\xB9";                   // 天蚕土豆
const std::string state = "\xC1\xAC\xD4\xD8";                                    // 连载
const std::string filler = "<p>\xD5\xE2\xCA\xC7\xD2\xBB\xB6\xCE\xCE\xDE\xB9\xD8\xB5\xC4"
                           "\xCE\xC4\xD7\xD6</p>\r\n"; // <p>这是一段无关的文字</p>

std::string tableRow(int i) {
    const std::string n = std::to_string(i);
    return "<tr>\r\n"
           "    <td class=\"odd\"><a href=\"/book/" +
           n + "/\">" + title + n + "</a></td>\r\n" + "    <td class=\"even\"><a href=\"/book/" +
           n + "/9.html\" target=\"_blank\">" + chapter + "</a></td>\r\n" +
           "    <td class=\"odd\">" + writer + "</td>\r\n" + "\t<td class=\"even\">" + n +
           "K</td>\r\n" + "    <td class=\"odd\" align=\"center\">24-01-01</td>\r\n" +
           "    <td class=\"even\" align=\"center\">" + state + "</td>\r\n</tr>\r\n";
}

// A GBK result page of `rows` table rows, padded with unrelated lines to about `bytes`.
std::string tablePage(int rows, size_t bytes) {
    std::string rowsOnly;
    for (int i = 0; i < rows; ++i)
        rowsOnly += tableRow(i);
    const size_t padPerRow = bytes > rowsOnly.size() ? (bytes - rowsOnly.size()) / rows : 0;
    std::string page;
    page.reserve(bytes + filler.size() * rows);
    for (int i = 0; i < rows; ++i) {
        page += tableRow(i);
        for (size_t k = 0; k + filler.size() <= padPerRow; k += filler.size())
            page += filler;
    }
    return page;
}

const std::string tablePattern =
    "    <td class=\"odd\"><a href=\"(.*?)\">(.*?)</a></td>\r\n"
    "    <td class=\"even\"><a href=\"(.*?)\" target=\"_blank\">(.*?)</a></td>\r\n"
    "    <td class=\"odd\">(.*?)</td>\r\n"
    "\t<td class=\"even\">(.*?)</td>\r\n"
    "    <td class=\"odd\" align=\"center\">(.*?)</td>\r\n"
    "    <td class=\"even\" align=\"center\">(.*?)</td>\r";

// Reads every row the way the page readers do; returns the bytes read.
size_t readAllRows(const std::string& pattern, const std::string& page, int groups, int& matches) {
    mz::PatternObject p;
    p.search(pattern, page);
    matches = p.matchCount();
    size_t bytes = 0;
    for (int i = 1; i <= matches; ++i)
        for (int g = 1; g <= groups; ++g)
            bytes += p.submatchText(i, g).size();
    return bytes;
}

// One plain Boost.Regex pass over the GBK bytes, reading every group's extent.
size_t plainBoostPass(const std::string& pattern, const std::string& page, int& matches) {
    const boost::regex re(pattern, boost::regex::perl | boost::regex::icase);
    size_t bytes = 0;
    matches = 0;
    for (boost::sregex_iterator it(page.begin(), page.end(), re, boost::match_not_dot_newline), end;
         it != end; ++it) {
        ++matches;
        for (size_t g = 1; g < it->size(); ++g)
            bytes += (*it)[g].length();
    }
    return bytes;
}

void tablePageBenchmark() {
    const std::string page = tablePage(5000, 2u << 20);
    int matches = 0;
    int referenceMatches = 0;
    size_t bytes = 0;
    const double reference =
        medianMs(7, [&] { plainBoostPass(tablePattern, page, referenceMatches); });
    const double measured =
        medianMs(7, [&] { bytes = readAllRows(tablePattern, page, 8, matches); });
    std::printf("1. table page: %zu bytes, %d matches (reference %d), %zu group bytes read\n",
                page.size(), matches, referenceMatches, bytes);
    std::printf("   search + matchCount + every submatchText: %8.1f ms\n", measured);
    std::printf("   reference, one plain Boost.Regex pass:     %8.1f ms\n", reference);
    std::printf("   ratio %.2f (target <= 2.00)\n", measured / reference);
}

void explodingBacktrackingBenchmark() {
    const std::string line = std::string(1u << 20, 'a');
    int referenceMatches = 0;
    const double reference =
        medianMs(3, [&] { plainBoostPass("a+b", line + "b", referenceMatches); });
    std::printf("2. 1 MB single-line page, exploding patterns (target < 2000 ms each)\n");
    std::printf("   reference, plain Boost.Regex pass of a+b:  %8.1f ms\n", reference);
    const struct {
        const char* pattern;
        std::string page;
    } cases[] = {
        {"(a+)+b", line},
        {"(a*)*b", line},
        {"(\\w+\\s?)*$", line + "!"},
        {"(a|a?)+$", line + "!"},
        {"<td>((.*?)</td>)*</tr>",
         [] {
             std::string cells;
             while (cells.size() < (1u << 20))
                 cells += "<td>x</td>";
             return cells;
         }()},
    };
    for (const auto& c : cases) {
        mz::PatternObject p;
        bool found = true;
        const double ms = medianMs(1, [&] { found = p.search(c.pattern, c.page); });
        std::printf("   %-24s %8.1f ms  search=%s matches=%d  ratio %.1f\n", c.pattern, ms,
                    found ? "true" : "false", p.matchCount(), ms / reference);
    }
}

} // namespace

int main() {
    tablePageBenchmark();
    explodingBacktrackingBenchmark();
    return 0;
}
