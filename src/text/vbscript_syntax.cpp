#include "text/vbscript_syntax.h"

#include <unicode/uchar.h>
#include <unicode/uniset.h>

#include <algorithm>
#include <climits>
#include <iterator>
#include <utility>
#include <vector>

namespace mz {
namespace {

using Range = std::pair<char32_t, char32_t>;
using Ranges = std::vector<Range>;

constexpr char32_t lastCodePoint = 0x10FFFF;

// The units above ASCII a subject can hold, and the stand-in for all of them when
// the pattern cannot tell them apart.
constexpr char32_t firstNonAscii = 0x80;
constexpr char32_t lastUnit = 0xFFFF;
constexpr std::int32_t nonAsciiStandIn = 0x80;

// The characters besides CR and LF that Boost's "." refuses, and the values that
// stand for them in match units: above every code point, and with low 16 bits that
// Boost does not take for a separator either.
constexpr char32_t movedSeparators[] = {U'\f', 0x85, 0x2028, 0x2029};
constexpr char32_t firstMovedValue = 0x110000;

char32_t moved(char32_t c) {
    for (size_t k = 0; k < std::size(movedSeparators); ++k) {
        if (movedSeparators[k] == c)
            return firstMovedValue + static_cast<char32_t>(k);
    }
    return c;
}

char32_t simpleFold(char32_t c) {
    return static_cast<char32_t>(u_foldCase(static_cast<UChar32>(c), U_FOLD_CASE_DEFAULT));
}

// Match unit of every UTF-16 unit, built once per process for each form.
const std::vector<std::int32_t>& unitTable(bool ignoreCase, bool nonAsciiAlike) {
    static const auto build = [](bool fold, bool merge) {
        std::vector<std::int32_t> table(0x10000);
        for (char32_t u = 0; u < 0x10000; ++u) {
            const char32_t unit = moved(fold ? simpleFold(u) : u);
            const bool nonAscii = unit >= firstNonAscii && unit <= lastUnit;
            table[u] = merge && nonAscii ? nonAsciiStandIn : static_cast<std::int32_t>(unit);
        }
        return table;
    };
    static const std::vector<std::int32_t> tables[] = {build(false, false), build(false, true),
                                                       build(true, false), build(true, true)};
    return tables[(ignoreCase ? 2 : 0) + (nonAsciiAlike ? 1 : 0)];
}

// The dialect's classes are ASCII-only: Boost's Unicode traits would let \w and \d
// match CJK characters and full-width digits, and \s the ideographic space.
const Ranges& digitRanges() {
    static const Ranges ranges{{U'0', U'9'}};
    return ranges;
}
const Ranges& wordRanges() {
    static const Ranges ranges{{U'0', U'9'}, {U'A', U'Z'}, {U'_', U'_'}, {U'a', U'z'}};
    return ranges;
}
const Ranges& spaceRanges() {
    static const Ranges ranges{{U'\t', U'\r'}, {U' ', U' '}};
    return ranges;
}

Ranges normalized(Ranges ranges) {
    std::sort(ranges.begin(), ranges.end());
    Ranges merged;
    for (const Range& r : ranges) {
        if (!merged.empty() && r.first <= merged.back().second + 1)
            merged.back().second = std::max(merged.back().second, r.second);
        else
            merged.push_back(r);
    }
    return merged;
}

// True when the ranges put some units above ASCII in and leave others out.
bool splitNonAscii(const Ranges& ranges) {
    for (const Range& r : normalized(ranges)) {
        const bool meets = r.first <= lastUnit && r.second >= firstNonAscii;
        const bool covers = r.first <= firstNonAscii && r.second >= lastUnit;
        if (meets && !covers)
            return true;
    }
    return false;
}

// The ranges with every case variant of their members added.
Ranges caseClosure(const Ranges& ranges) {
    icu::UnicodeSet set;
    for (const Range& r : ranges)
        set.add(static_cast<UChar32>(r.first), static_cast<UChar32>(r.second));
    set.closeOver(USET_CASE_INSENSITIVE);
    Ranges out;
    for (int32_t k = 0; k < set.getRangeCount(); ++k)
        out.push_back({static_cast<char32_t>(set.getRangeStart(k)),
                       static_cast<char32_t>(set.getRangeEnd(k))});
    return out;
}

Ranges complement(const Ranges& ranges) {
    Ranges out;
    char32_t next = 0;
    for (const Range& r : normalized(ranges)) {
        if (r.first > next)
            out.push_back({next, r.first - 1});
        next = r.second + 1;
    }
    if (next <= lastCodePoint)
        out.push_back({next, lastCodePoint});
    return out;
}

bool isAsciiAlnum(char32_t c) {
    return (c >= U'0' && c <= U'9') || (c >= U'A' && c <= U'Z') || (c >= U'a' && c <= U'z');
}
bool isAsciiLetter(char32_t c) {
    return (c >= U'A' && c <= U'Z') || (c >= U'a' && c <= U'z');
}
bool isDigit(char32_t c) {
    return c >= U'0' && c <= U'9';
}
bool isOctal(char32_t c) {
    return c >= U'0' && c <= U'7';
}

int hexValue(char32_t c) {
    if (c >= U'0' && c <= U'9')
        return static_cast<int>(c - U'0');
    if (c >= U'a' && c <= U'f')
        return static_cast<int>(c - U'a' + 10);
    if (c >= U'A' && c <= U'F')
        return static_cast<int>(c - U'A' + 10);
    return -1;
}

// Every literal that Boost could read as syntax goes out as \x{...}; letters, digits
// and non-ASCII characters go out as they are.
void appendLiteral(std::u32string& out, char32_t c) {
    if (isAsciiAlnum(c) || (c >= 0x80 && (c < 0xD800 || c > 0xDFFF))) {
        out.push_back(c);
        return;
    }
    static const char digits[] = "0123456789ABCDEF";
    std::u32string hex;
    do {
        hex.insert(hex.begin(), static_cast<char32_t>(digits[c & 0xF]));
        c >>= 4;
    } while (c != 0);
    out += U"\\x{" + hex + U"}";
}

void appendSet(std::u32string& out, const Ranges& ranges, bool negated) {
    out += negated ? U"[^" : U"[";
    for (const Range& r : ranges) {
        appendLiteral(out, r.first);
        if (r.second != r.first) {
            out.push_back(U'-');
            appendLiteral(out, r.second);
        }
        for (char32_t c : movedSeparators) {
            if (r.first <= c && c <= r.second)
                appendLiteral(out, moved(c));
        }
    }
    out.push_back(U']');
}

// One element of a bracket expression: a character or a class escape.
struct ClassAtom {
    bool isSet = false;
    char32_t c = 0;
    Ranges set;
};

class Translator {
  public:
    Translator(std::u32string_view pattern, bool multiline, bool ignoreCase)
        : p_(pattern), multiline_(multiline), ignoreCase_(ignoreCase),
          groupCount_(countGroups(pattern)) {}

    std::optional<BoostPattern> run() {
        while (i_ < p_.size()) {
            if (!step())
                return std::nullopt;
        }
        if (depth_ != 0)
            return std::nullopt;
        return BoostPattern{out_, !tellsNonAsciiApart_};
    }

  private:
    // Capture groups in the whole pattern: decides whether \12 is a reference or octal.
    static int countGroups(std::u32string_view p) {
        int count = 0;
        bool inClass = false;
        for (size_t k = 0; k < p.size(); ++k) {
            if (p[k] == U'\\')
                ++k;
            else if (inClass)
                inClass = p[k] != U']';
            else if (p[k] == U'[')
                inClass = true;
            else if (p[k] == U'(' && (k + 1 >= p.size() || p[k + 1] != U'?'))
                ++count;
        }
        return count;
    }

    bool step() {
        const char32_t c = p_[i_++];
        switch (c) {
        case U'\\':
            return escape();
        case U'.':
            out_.push_back(U'.');
            return atom();
        case U'^':
            out_ += multiline_ ? U"(?<![^\\x{A}\\x{D}])" : U"\\A";
            return assertion();
        case U'$':
            out_ += multiline_ ? U"(?![^\\x{A}\\x{D}])" : U"\\z";
            return assertion();
        case U'(':
            return openGroup();
        case U')':
            if (--depth_ < 0)
                return false;
            out_.push_back(U')');
            return atom();
        case U'|':
            out_.push_back(U'|');
            quantifiable_ = false;
            return true;
        case U'*':
        case U'+':
        case U'?':
            return quantifier(std::u32string(1, c));
        case U'{':
            return brace();
        case U'[':
            return bracket();
        default:
            literal(c);
            return atom();
        }
    }

    bool atom() {
        quantifiable_ = true;
        return true;
    }
    bool assertion() {
        quantifiable_ = false;
        return true;
    }

    bool openGroup() {
        ++depth_;
        if (i_ < p_.size() && p_[i_] == U'?') {
            if (i_ + 1 >= p_.size())
                return false;
            const char32_t kind = p_[i_ + 1];
            if (kind != U':' && kind != U'=' && kind != U'!')
                return false;
            out_ += U"(?";
            out_.push_back(kind);
            i_ += 2;
        } else {
            out_.push_back(U'(');
        }
        quantifiable_ = false;
        return true;
    }

    bool quantifier(const std::u32string& text) {
        if (!quantifiable_)
            return false;
        out_ += text;
        if (i_ < p_.size() && p_[i_] == U'?') {
            out_.push_back(U'?');
            ++i_;
        }
        quantifiable_ = false;
        return true;
    }

    // Reads a decimal number at i_; false when there is none or it is too large.
    bool number(long long& value) {
        if (i_ >= p_.size() || !isDigit(p_[i_]))
            return false;
        value = 0;
        while (i_ < p_.size() && isDigit(p_[i_])) {
            value = value * 10 + (p_[i_++] - U'0');
            if (value > INT_MAX)
                value = INT_MAX + 1LL;
        }
        return true;
    }

    // {n}, {n,} or {n,m} repeat; any other brace is an ordinary character.
    bool brace() {
        const size_t start = i_;
        long long low = 0;
        long long high = -1;
        bool valid = number(low);
        if (valid && i_ < p_.size() && p_[i_] == U',') {
            ++i_;
            if (i_ < p_.size() && isDigit(p_[i_]))
                number(high);
            else
                high = LLONG_MAX;
        } else {
            high = low;
        }
        valid = valid && i_ < p_.size() && p_[i_] == U'}';
        if (!valid) {
            i_ = start;
            literal(U'{');
            return atom();
        }
        ++i_;
        if (low > INT_MAX || (high != LLONG_MAX && (high > INT_MAX || high < low)))
            return false;
        std::u32string text = U"{" + decimal(low) + U",";
        if (high != LLONG_MAX)
            text += decimal(high);
        return quantifier(text + U"}");
    }

    static std::u32string decimal(long long value) {
        std::u32string out;
        for (char ch : std::to_string(value))
            out.push_back(static_cast<char32_t>(ch));
        return out;
    }

    bool escape() {
        if (i_ >= p_.size())
            return false;
        const char32_t e = p_[i_++];
        switch (e) {
        case U'b':
        case U'B':
            out_ += wordBoundary(e == U'b');
            return assertion();
        case U'd':
        case U'D':
        case U'w':
        case U'W':
        case U's':
        case U'S':
            appendSet(out_, classRanges(e), isUpper(e));
            return atom();
        default:
            break;
        }
        if (isDigit(e))
            return decimalEscape(e);
        literal(characterEscape(e));
        return atom();
    }

    static bool isUpper(char32_t c) { return c >= U'A' && c <= U'Z'; }

    static const Ranges& classRanges(char32_t e) {
        switch (e) {
        case U'd':
        case U'D':
            return digitRanges();
        case U'w':
        case U'W':
            return wordRanges();
        default:
            return spaceRanges();
        }
    }

    static std::u32string wordBoundary(bool boundary) {
        const std::u32string before = U"(?<=[0-9A-Z_a-z])";
        const std::u32string notBefore = U"(?<![0-9A-Z_a-z])";
        const std::u32string after = U"(?=[0-9A-Z_a-z])";
        const std::u32string notAfter = U"(?![0-9A-Z_a-z])";
        if (boundary)
            return U"(?:" + before + notAfter + U"|" + notBefore + after + U")";
        return U"(?:" + before + after + U"|" + notBefore + notAfter + U")";
    }

    // The character an escape stands for, outside and inside brackets alike (apart
    // from \b and digits, which the callers handle). \c without a letter stays a
    // backslash, and the letter is read again as an ordinary character.
    char32_t characterEscape(char32_t e) {
        switch (e) {
        case U't':
            return U'\t';
        case U'n':
            return U'\n';
        case U'v':
            return U'\v';
        case U'f':
            return U'\f';
        case U'r':
            return U'\r';
        case U'c':
            if (i_ < p_.size() && isAsciiLetter(p_[i_]))
                return p_[i_++] % 32;
            --i_;
            return U'\\';
        case U'x':
            return hexEscape(2, e);
        case U'u':
            return hexEscape(4, e);
        default:
            return e; // identity escape: \z is z, \. is .
        }
    }

    char32_t hexEscape(size_t digits, char32_t letter) {
        if (i_ + digits > p_.size())
            return letter;
        char32_t value = 0;
        for (size_t k = 0; k < digits; ++k) {
            const int v = hexValue(p_[i_ + k]);
            if (v < 0)
                return letter;
            value = value * 16 + static_cast<char32_t>(v);
        }
        i_ += digits;
        return value;
    }

    // Up to three octal digits (the first already read) with a value below 0400.
    char32_t octal(char32_t first) {
        char32_t value = first - U'0';
        for (int k = 0; k < 2 && i_ < p_.size() && isOctal(p_[i_]); ++k) {
            const char32_t next = value * 8 + (p_[i_] - U'0');
            if (next > 0377)
                break;
            value = next;
            ++i_;
        }
        return value;
    }

    // \n and \nn are references when that many groups exist, otherwise octal escapes;
    // \8 and \9 without such a group are the digits themselves.
    bool decimalEscape(char32_t e) {
        if (e != U'0') {
            const int one = static_cast<int>(e - U'0');
            if (i_ < p_.size() && isDigit(p_[i_])) {
                const int two = one * 10 + static_cast<int>(p_[i_] - U'0');
                if (two <= groupCount_) {
                    ++i_;
                    return backReference(two);
                }
            }
            if (one <= groupCount_)
                return backReference(one);
        }
        literal(isOctal(e) ? octal(e) : e);
        return atom();
    }

    // A group that took no part in the match is an empty string to a reference.
    bool backReference(int group) {
        tellsNonAsciiApart_ = true;
        const std::u32string n = decimal(group);
        out_ += U"(?(" + n + U")\\g{" + n + U"})";
        return atom();
    }

    bool bracket() {
        bool negated = false;
        if (i_ < p_.size() && p_[i_] == U'^') {
            negated = true;
            ++i_;
        }
        // Characters and ranges are closed over case; class escapes are not, or the
        // Kelvin sign in \W would bring k and K into [\W].
        Ranges characters;
        Ranges classes;
        while (true) {
            if (i_ >= p_.size())
                return false;
            if (p_[i_] == U']') {
                ++i_;
                break;
            }
            ClassAtom first = classAtom();
            const bool range =
                !first.isSet && i_ + 1 < p_.size() && p_[i_] == U'-' && p_[i_ + 1] != U']';
            if (!range) {
                add(first, characters, classes);
                continue;
            }
            ++i_;
            ClassAtom last = classAtom();
            if (last.isSet) {
                add(first, characters, classes);
                characters.push_back({U'-', U'-'});
                add(last, characters, classes);
                continue;
            }
            if (last.c < first.c)
                return false;
            characters.push_back({first.c, last.c});
        }
        // Checked before the case closure: what it adds to ASCII members folds to
        // ASCII, so no folded subject unit above ASCII can meet it.
        Ranges written = characters;
        written.insert(written.end(), classes.begin(), classes.end());
        if (splitNonAscii(written))
            tellsNonAsciiApart_ = true;
        if (ignoreCase_)
            characters = caseClosure(characters);
        characters.insert(characters.end(), classes.begin(), classes.end());
        const Ranges ranges = normalized(std::move(characters));
        if (ranges.empty()) {
            // [] matches nothing and [^] matches any character.
            appendSet(out_, {{0, lastCodePoint}}, !negated);
        } else {
            appendSet(out_, ranges, negated);
        }
        return atom();
    }

    static void add(const ClassAtom& a, Ranges& characters, Ranges& classes) {
        if (a.isSet)
            classes.insert(classes.end(), a.set.begin(), a.set.end());
        else
            characters.push_back({a.c, a.c});
    }

    ClassAtom classAtom() {
        ClassAtom a;
        char32_t c = p_[i_++];
        if (c != U'\\' || i_ >= p_.size()) {
            a.c = c;
            return a;
        }
        const char32_t e = p_[i_++];
        switch (e) {
        case U'd':
        case U'w':
        case U's':
            a.isSet = true;
            a.set = classRanges(e);
            return a;
        case U'D':
        case U'W':
        case U'S':
            a.isSet = true;
            a.set = complement(classRanges(e));
            return a;
        case U'b':
            a.c = U'\b';
            return a;
        default:
            break;
        }
        if (isDigit(e))
            a.c = isOctal(e) ? octal(e) : e;
        else
            a.c = characterEscape(e);
        return a;
    }

    // A literal of the pattern; folded like the subject when case is ignored.
    void literal(char32_t c) {
        const char32_t unit = moved(ignoreCase_ ? simpleFold(c) : c);
        if (unit >= firstNonAscii && unit <= lastUnit)
            tellsNonAsciiApart_ = true;
        appendLiteral(out_, unit);
    }

    std::u32string_view p_;
    bool multiline_;
    bool ignoreCase_;
    int groupCount_;
    size_t i_ = 0;
    int depth_ = 0;
    bool quantifiable_ = false;
    bool tellsNonAsciiApart_ = false;
    std::u32string out_;
};

} // namespace

std::optional<BoostPattern> toBoostPerlSyntax(std::u32string_view pattern, bool multiline,
                                              bool ignoreCase) {
    return Translator(pattern, multiline, ignoreCase).run();
}

const std::int32_t* matchUnitTable(bool ignoreCase, bool nonAsciiAlike) {
    return unitTable(ignoreCase, nonAsciiAlike).data();
}

std::vector<std::int32_t> toMatchUnits(std::u16string_view subject, bool ignoreCase,
                                       bool nonAsciiAlike) {
    const std::int32_t* table = matchUnitTable(ignoreCase, nonAsciiAlike);
    std::vector<std::int32_t> units(subject.size());
    for (size_t k = 0; k < subject.size(); ++k)
        units[k] = table[subject[k]];
    return units;
}

} // namespace mz
