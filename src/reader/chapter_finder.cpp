#include "reader/chapter_finder.h"

#include "text/code_page.h"

#include <boost/regex.hpp>
#include <unicode/uchar.h>

#include <locale>
#include <unordered_map>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace mz {

// 第[^章]{1,6}章[^\n]+|第[^回]{1,6}回[^\n]+|第[^卷]{1,6}卷[^\n]+|第[^节]{1,6}节[^\n]+|
// 第[^集]{1,6}集[^\n]+|第[^部]{1,6}部[^\n]+|\b(一|二|三|四|五|六|七|八|九|十|零)+、[^\n]+
const std::string_view chapterPattern =
    "\xB5\xDA[^\xD5\xC2]{1,6}\xD5\xC2[^\\n]+|"
    "\xB5\xDA[^\xBB\xD8]{1,6}\xBB\xD8[^\\n]+|"
    "\xB5\xDA[^\xBE\xED]{1,6}\xBE\xED[^\\n]+|"
    "\xB5\xDA[^\xBD\xDA]{1,6}\xBD\xDA[^\\n]+|"
    "\xB5\xDA[^\xBC\xAF]{1,6}\xBC\xAF[^\\n]+|"
    "\xB5\xDA[^\xB2\xBF]{1,6}\xB2\xBF[^\\n]+|"
    "\\b(\xD2\xBB|\xB6\xFE|\xC8\xFD|\xCB\xC4|\xCE\xE5|\xC1\xF9|\xC6\xDF|\xB0\xCB|\xBE\xC5|"
    "\xCA\xAE|\xC1\xE3)+\xA1\xA2[^\\n]+";

namespace {

constexpr unsigned char diLead = 0xB5; // 第
constexpr unsigned char diTrail = 0xDA;
constexpr unsigned char dunLead = 0xA1; // 、
constexpr unsigned char dunTrail = 0xA2;
constexpr std::string_view numerals = "\xD2\xBB\xB6\xFE\xC8\xFD\xCB\xC4\xCE\xE5\xC1\xF9\xC6\xDF"
                                      "\xB0\xCB\xBE\xC5\xCA\xAE\xC1\xE3";

// 章 回 卷 节 集 部
constexpr std::string_view headingWords = "\xD5\xC2\xBB\xD8\xBE\xED\xBD\xDA\xBC\xAF\xB2\xBF";
constexpr size_t maxGap = 6; // bytes between 第 and the heading word

unsigned char byteAt(std::string_view text, size_t i) {
    return static_cast<unsigned char>(text[i]);
}

std::string escaped(unsigned char byte) {
    static constexpr char hex[] = "0123456789ABCDEF";
    return {'\\', 'x', hex[byte >> 4], hex[byte & 15]};
}

// Whole characters other than `excluded`, 1 to maxBytes bytes in all. A lead
// byte always takes the next byte with it, as everywhere else in the program;
// the two branches cannot both match, so the walk over characters is unique.
std::string wholeCharacters(int maxBytes, std::string_view excluded) {
    if (maxBytes <= 0)
        return {};
    const auto optional = [](const std::string& inner) {
        return inner.empty() ? inner : "(?:" + inner + ")?";
    };
    std::string alternatives =
        "[\\x00-\\x80\\xFF]" + optional(wholeCharacters(maxBytes - 1, excluded));
    if (maxBytes >= 2) {
        alternatives += "|(?!" + escaped(excluded[0]) + escaped(excluded[1]) +
                        ")[\\x81-\\xFE][\\x00-\\xFF]" +
                        optional(wholeCharacters(maxBytes - 2, excluded));
    }
    return "(?:" + alternatives + ")";
}

const boost::regex& headingRegex() {
    static const boost::regex regex = [] {
        boost::regex r;
        r.imbue(std::locale::classic()); // no locale may give high bytes a case
        r.assign(characterAwarePattern(), boost::regex::perl | boost::regex::icase);
        return r;
    }();
    return regex;
}

// Answers "does pos start a character?" for non-decreasing positions in time
// linear overall. A byte outside the lead range always ends a character, so the
// parity of the run of lead-range bytes before pos decides.
class BoundaryTracker {
  public:
    explicit BoundaryTracker(std::string_view text) : text_(text) {}

    bool startsCharacter(size_t pos) {
        const size_t stop = pos >= known_ ? known_ : 0;
        size_t q = pos;
        while (q > stop && isLeadByte(byteAt(text_, q - 1)))
            --q;
        const bool start = (pos - q) % 2 == 0;
        if (pos >= known_)
            known_ = start ? pos : pos - 1;
        return start;
    }

  private:
    std::string_view text_;
    size_t known_ = 0; // a position known to start a character
};

bool startsCharacter(std::string_view text, size_t pos) {
    return BoundaryTracker(text).startsCharacter(pos);
}

bool isNumeralAt(std::string_view text, size_t i) {
    for (size_t k = 0; k < numerals.size(); k += 2) {
        if (text[i] == numerals[k] && text[i + 1] == numerals[k + 1])
            return true;
    }
    return false;
}

// Whether a heading word starts 1 to 6 bytes after the 第 at di, at any
// alignment: without one no heading can start there, and the regular
// expression need not be asked.
bool headingWordFollows(std::string_view text, size_t di) {
    const size_t last = std::min(di + 2 + maxGap, text.size() - 2);
    for (size_t k = di + 3; k <= last; ++k) {
        for (size_t w = 0; w < headingWords.size(); w += 2) {
            if (text[k] == headingWords[w] && text[k + 1] == headingWords[w + 1])
                return true;
        }
    }
    return false;
}

// Start of the run of numerals that ends just before the 、 at comma.
size_t numeralRunStart(std::string_view text, size_t comma) {
    size_t start = comma;
    while (start >= 2 && isNumeralAt(text, start - 2))
        start -= 2;
    return start;
}

bool isWordCharacter(UChar32 c) {
    if (c == '_')
        return true;
    constexpr uint32_t wordCategories = U_GC_ND_MASK | U_GC_M_MASK | U_GC_PC_MASK;
    return u_hasBinaryProperty(c, UCHAR_ALPHABETIC) || (U_GET_GC_MASK(c) & wordCategories) != 0;
}

// Calls visit(offset) for every offset holding the bytes of 第 or 、, in order,
// whatever their alignment: the cheap filter in front of the regular expression.
template <typename Visit> void forEachCandidate(std::string_view text, Visit&& visit) {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const size_t n = text.size();
    size_t i = 0;
#ifdef __SSE2__
    const __m128i di0 = _mm_set1_epi8(static_cast<char>(diLead));
    const __m128i di1 = _mm_set1_epi8(static_cast<char>(diTrail));
    const __m128i dun0 = _mm_set1_epi8(static_cast<char>(dunLead));
    const __m128i dun1 = _mm_set1_epi8(static_cast<char>(dunTrail));
    for (; i + 33 <= n; i += 32) {
        const auto* at = reinterpret_cast<const __m128i*>(p + i);
        const auto* next = reinterpret_cast<const __m128i*>(p + i + 1);
        const __m128i x0 = _mm_loadu_si128(at), x1 = _mm_loadu_si128(at + 1);
        const __m128i y0 = _mm_loadu_si128(next), y1 = _mm_loadu_si128(next + 1);
        const __m128i h0 =
            _mm_or_si128(_mm_and_si128(_mm_cmpeq_epi8(x0, di0), _mm_cmpeq_epi8(y0, di1)),
                         _mm_and_si128(_mm_cmpeq_epi8(x0, dun0), _mm_cmpeq_epi8(y0, dun1)));
        const __m128i h1 =
            _mm_or_si128(_mm_and_si128(_mm_cmpeq_epi8(x1, di0), _mm_cmpeq_epi8(y1, di1)),
                         _mm_and_si128(_mm_cmpeq_epi8(x1, dun0), _mm_cmpeq_epi8(y1, dun1)));
        uint32_t mask = static_cast<uint32_t>(_mm_movemask_epi8(h0)) |
                        (static_cast<uint32_t>(_mm_movemask_epi8(h1)) << 16);
        while (mask != 0) {
            visit(i + static_cast<size_t>(__builtin_ctz(mask)));
            mask &= mask - 1;
        }
    }
#endif
    for (; i + 1 < n; ++i) {
        if ((p[i] == diLead && p[i + 1] == diTrail) || (p[i] == dunLead && p[i + 1] == dunTrail))
            visit(i);
    }
}

// Names sharing their first bytes (ASCII case folded): the probe at each
// candidate position looks up only the rows that may start there.
class NameIndex {
  public:
    static constexpr size_t keyLength = 5; // the shortest heading, 一、 and one byte

    explicit NameIndex(const std::vector<Text>& names) : names_(names) {}

    static bool startsLikeHeading(std::string_view name) {
        return name.size() >= keyLength &&
               ((byteAt(name, 0) == diLead && byteAt(name, 1) == diTrail) || isNumeralAt(name, 0));
    }

    void add(size_t row) { rows_[key(names_[row])].push_back(row); }

    // Marks every pending row whose name occurs at p; returns how many were found.
    size_t probe(std::string_view text, size_t p, std::vector<size_t>& found) {
        if (p + keyLength > text.size())
            return 0;
        const auto it = rows_.find(key(text.substr(p)));
        if (it == rows_.end())
            return 0;
        size_t count = 0;
        for (size_t row : it->second) {
            const std::string_view name = names_[row];
            if (found[row] == std::string_view::npos && text.size() - p >= name.size() &&
                findIgnoreCase(text.substr(p, name.size()), name) == 1) {
                found[row] = p;
                ++count;
            }
        }
        return count;
    }

  private:
    static std::string key(std::string_view text) {
        std::string k(text.substr(0, keyLength));
        for (char& c : k)
            c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
        return k;
    }

    const std::vector<Text>& names_;
    std::unordered_map<std::string, std::vector<size_t>> rows_;
};

} // namespace

std::vector<size_t> firstOccurrences(std::string_view text, const std::vector<Text>& names) {
    std::vector<size_t> found(names.size(), std::string_view::npos);
    NameIndex index(names);
    size_t pending = 0;
    for (size_t row = 0; row < names.size(); ++row) {
        if (NameIndex::startsLikeHeading(names[row])) {
            index.add(row);
            ++pending;
        } else {
            found[row] = findOffset(text, names[row], 0, true);
        }
    }
    BoundaryTracker boundaries(text);
    forEachCandidate(text, [&](size_t at) {
        if (pending == 0)
            return;
        if (byteAt(text, at) == diLead) {
            if (boundaries.startsCharacter(at))
                pending -= index.probe(text, at, found);
            return;
        }
        const size_t start = numeralRunStart(text, at);
        if (start == at || !boundaries.startsCharacter(start))
            return;
        for (size_t p = start; p < at; p += 2)
            pending -= index.probe(text, p, found);
    });
    return found;
}

std::string characterAwarePattern() {
    std::string out;
    const std::string_view p = chapterPattern;
    for (size_t i = 0; i < p.size();) {
        if (p.substr(i, 2) == "[^" && p.substr(i + 4, 6) == "]{1,6}" &&
            isLeadByte(byteAt(p, i + 2))) {
            out += wholeCharacters(6, p.substr(i + 2, 2));
            i += 10;
        } else if (p.substr(i, 2) == "\\b") {
            i += 2;
        } else {
            out += p[i++];
        }
    }
    return out;
}

bool wordCharacterBefore(std::string_view text, size_t offset) {
    if (offset == 0 || offset > text.size())
        return false;
    size_t begin = offset - 1;
    if (isLeadByte(byteAt(text, begin)) ||
        (offset >= 2 && isLeadByte(byteAt(text, offset - 2)) && startsCharacter(text, offset - 2)))
        begin = offset >= 2 ? offset - 2 : 0;
    const std::u16string wide = multiByteToWide(text.substr(begin, offset - begin), codePageGbk);
    if (wide.empty())
        return false;
    UChar32 c = wide[0];
    if (U16_IS_LEAD(wide[0]) && wide.size() > 1)
        c = U16_GET_SUPPLEMENTARY(wide[0], wide[1]);
    return isWordCharacter(c);
}

std::vector<ChapterHeading> findChapterHeadings(std::string_view text) {
    std::vector<ChapterHeading> headings;
    const boost::regex& regex = headingRegex();
    BoundaryTracker boundaries(text);
    size_t resume = 0;
    forEachCandidate(text, [&](size_t at) {
        if (at < resume)
            return;
        size_t start = at;
        if (byteAt(text, at) == dunLead) {
            start = numeralRunStart(text, at);
            if (start == at || start < resume || !boundaries.startsCharacter(start) ||
                wordCharacterBefore(text, start))
                return;
        } else if (!headingWordFollows(text, start) || !boundaries.startsCharacter(start)) {
            return;
        }
        boost::cmatch match;
        if (boost::regex_search(text.data() + start, text.data() + text.size(), match, regex,
                                boost::match_continuous)) {
            const auto length = static_cast<size_t>(match.length(0));
            headings.push_back({start, length});
            resume = start + length;
        }
    });
    return headings;
}

} // namespace mz
