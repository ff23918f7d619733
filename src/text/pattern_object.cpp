#include "text/pattern_object.h"

#include "text/code_page.h"
#include "text/match_subject.h"
#include "text/vbscript_syntax.h"

// u32regex (basic_regex over UChar32 with ICU traits) rather than a narrow regex: the
// engine must see whole characters, so that [^章] excludes 章 and not each of its
// GBK bytes, and letter case is ignored for every script, as the component does.
// Debian's Boost.Regex is built with ICU support, so no extra library is needed.
#include <boost/regex/icu.hpp>

#include <compare>
#include <exception>
#include <iterator>
#include <mutex>
#include <stdexcept>
#include <vector>

namespace mz {
namespace {

const Text quotePlaceholderText = "#\xD2\xFD\xBA\xC5"; // "#引号" in GBK

Text withQuotes(const Text& pattern) {
    Text out;
    size_t from = 0;
    for (size_t at; (at = pattern.find(quotePlaceholderText, from)) != Text::npos;
         from = at + quotePlaceholderText.size()) {
        out.append(pattern, from, at - from);
        out.push_back('"');
    }
    out.append(pattern, from, Text::npos);
    return out;
}

std::u32string toU32(std::u16string_view wide) {
    return std::u32string(wide.begin(), wide.end());
}

// Everything one search produced, copied out of the engine once: the offset and
// length of every match and group, in UTF-16 units and in bytes of the subject.
struct SearchResults {
    struct Span {
        int start = -1; // -1: the group took no part in the match
        int length = 0;
        int byteStart = -1;
        int byteLength = 0;
    };

    Text pattern;
    bool ran = false;
    int groupCount = 0;
    bool exactBytes = false; // span texts are the subject's bytes (see MatchSubject)
    std::vector<Span> spans; // (1 + groupCount) per match, the whole match first

    int matchCount() const { return static_cast<int>(spans.size()) / (groupCount + 1); }
    const Span& span(int match, int group) const { return spans[match * (groupCount + 1) + group]; }

    // The subject in UTF-16, converted on the first replace or on reading a span of
    // a subject with broken sequences; the page readers need neither.
    const std::u16string& wideSubject(const Text& gbkSubject) const {
        std::call_once(wideSubjectOnce,
                       [&] { wideSubjectText = multiByteToWide(gbkSubject, codePageGbk); });
        return wideSubjectText;
    }
    std::u16string_view wideText(const Span& s, const Text& gbkSubject) const {
        return s.start < 0 ? std::u16string_view()
                           : std::u16string_view(wideSubject(gbkSubject)).substr(s.start, s.length);
    }

    mutable std::once_flag wideSubjectOnce;
    mutable std::u16string wideSubjectText;
};

} // namespace

struct PatternObject::Results : SearchResults {};

namespace {

using Results = SearchResults;

// Thrown when a search has stepped through the subject more often than its budget
// allows: how hostile pages with exploding backtracking end.
struct StepLimitExceeded : std::runtime_error {
    StepLimitExceeded() : std::runtime_error("regular expression ran past its step budget") {}
};

// A pointer into the subject that counts every read and move. Boost's own
// complexity limit grows with the square of the pattern's length (and the dialect
// rewrite makes patterns long), which let one pattern backtrack for two minutes on
// a 1 MB page; counting steps bounds every search.
class CountingIterator {
  public:
    using iterator_category = std::random_access_iterator_tag;
    using value_type = UChar32;
    using difference_type = std::ptrdiff_t;
    using pointer = const UChar32*;
    using reference = const UChar32&;

    CountingIterator() = default;
    CountingIterator(const UChar32* p, std::ptrdiff_t* budget) : p_(p), budget_(budget) {}

    reference operator*() const {
        step(1);
        return *p_;
    }
    pointer operator->() const { return p_; }
    reference operator[](difference_type n) const {
        step(1);
        return p_[n];
    }
    CountingIterator& operator++() {
        step(1);
        ++p_;
        return *this;
    }
    CountingIterator operator++(int) {
        CountingIterator old = *this;
        ++*this;
        return old;
    }
    CountingIterator& operator--() {
        step(1);
        --p_;
        return *this;
    }
    CountingIterator operator--(int) {
        CountingIterator old = *this;
        --*this;
        return old;
    }
    CountingIterator& operator+=(difference_type n) {
        step(n < 0 ? -n : n);
        p_ += n;
        return *this;
    }
    CountingIterator& operator-=(difference_type n) { return *this += -n; }
    friend CountingIterator operator+(CountingIterator it, difference_type n) { return it += n; }
    friend CountingIterator operator+(difference_type n, CountingIterator it) { return it += n; }
    friend CountingIterator operator-(CountingIterator it, difference_type n) { return it -= n; }
    friend difference_type operator-(const CountingIterator& a, const CountingIterator& b) {
        return a.p_ - b.p_;
    }
    friend bool operator==(const CountingIterator& a, const CountingIterator& b) {
        return a.p_ == b.p_;
    }
    friend auto operator<=>(const CountingIterator& a, const CountingIterator& b) {
        return a.p_ <=> b.p_;
    }

  private:
    void step(difference_type n) const {
        *budget_ -= n;
        if (*budget_ < 0)
            throw StepLimitExceeded();
    }

    const UChar32* p_ = nullptr;
    std::ptrdiff_t* budget_ = nullptr;
};

// Steps allowed to one search. Page patterns take about four per unit of the page;
// this stops an exploding one after about a second on a 1 MB page.
std::ptrdiff_t stepBudget(size_t units) {
    return 20'000'000 + 40 * static_cast<std::ptrdiff_t>(units);
}

void collectMatches(Results& r, const boost::u32regex& re, const MatchSubject& subject,
                    bool global) {
    r.groupCount = static_cast<int>(re.mark_count());
    r.exactBytes = subject.exactBytes();
    const UChar32* units = subject.units();
    std::ptrdiff_t budget = stepBudget(subject.size());
    const CountingIterator begin(units, &budget);
    const CountingIterator end(units + subject.size(), &budget);
    boost::match_results<CountingIterator> m;
    size_t from = 0;
    while (from <= subject.size()) {
        const auto flags = from > 0 ? boost::match_prev_avail : boost::match_default;
        // Our own moves through the subject do not count against the budget.
        const CountingIterator start(units + from, &budget);
        if (!boost::regex_search(start, end, m, re, flags, begin))
            break;
        for (int g = 0; g <= r.groupCount; ++g) {
            Results::Span s;
            if (m[g].matched) {
                const auto first = static_cast<size_t>(m[g].first - begin);
                const auto second = static_cast<size_t>(m[g].second - begin);
                s.start = static_cast<int>(first);
                s.length = static_cast<int>(second - first);
                s.byteStart = subject.byteOffset(first);
                s.byteLength = subject.byteOffset(second) - s.byteStart;
            }
            r.spans.push_back(s);
        }
        if (!global)
            break;
        // After an empty match the next search starts one unit further on.
        const auto endOffset = static_cast<size_t>(m[0].second - begin);
        from = m[0].length() == 0 ? endOffset + 1 : endOffset;
    }
}

// Appends the expansion of a replacement text for one match: $1..$99, $&, $`, $'
// and $$; any other $ is itself.
void expandReplacement(std::u16string& out, std::u16string_view replacement, const Results& r,
                       int match, const Text& gbkSubject) {
    const std::u16string_view subject = r.wideSubject(gbkSubject);
    const auto text = [&](const Results::Span& s) { return r.wideText(s, gbkSubject); };
    const auto& whole = r.span(match, 0);
    const auto digit = [&](size_t k) {
        return k < replacement.size() && replacement[k] >= u'0' && replacement[k] <= u'9'
                   ? replacement[k] - u'0'
                   : -1;
    };
    for (size_t k = 0; k < replacement.size(); ++k) {
        const char16_t c = replacement[k];
        if (c != u'$' || k + 1 >= replacement.size()) {
            out.push_back(c);
            continue;
        }
        const char16_t next = replacement[k + 1];
        if (next == u'$') {
            out.push_back(u'$');
        } else if (next == u'&') {
            out += text(whole);
        } else if (next == u'`') {
            out += subject.substr(0, whole.start);
        } else if (next == u'\'') {
            out += subject.substr(whole.start + whole.length);
        } else if (const int one = digit(k + 1); one >= 0) {
            const int two = digit(k + 2) >= 0 ? one * 10 + digit(k + 2) : -1;
            if (two >= 1 && two <= r.groupCount) {
                out += text(r.span(match, two));
                k += 2;
            } else if (one >= 1 && one <= r.groupCount) {
                out += text(r.span(match, one));
                k += 1;
            } else {
                out.push_back(c);
            }
            continue;
        } else {
            out.push_back(c);
            continue;
        }
        ++k;
    }
}

} // namespace

PatternObject::PatternObject() {
    initialize();
}

PatternObject::PatternObject(const PatternObject& other)
    : results_(other.results_), subject_(other.subject_) {}

PatternObject::~PatternObject() {
    release();
}

void PatternObject::initialize() {
    results_.reset();
    subject_.clear();
}

void PatternObject::release() {
    results_.reset();
    subject_.clear();
}

bool PatternObject::search(const Text& pattern, const Text& subject, bool caseSensitive,
                           bool multiline, bool global, bool quotePlaceholder) {
    results_.reset();
    auto results = std::make_shared<Results>();
    results->pattern = quotePlaceholder ? withQuotes(pattern) : pattern;
    subject_ = subject;
    try {
        const auto translated = toBoostPerlSyntax(
            toU32(multiByteToWide(results->pattern, codePageGbk)), multiline, !caseSensitive);
        if (translated) {
            const std::vector<UChar32> syntax(translated->syntax.begin(), translated->syntax.end());
            const boost::u32regex re(syntax.data(), syntax.data() + syntax.size(),
                                     boost::regex_constants::perl |
                                         boost::regex_constants::no_mod_s);
            // One unit per UTF-16 unit: offsets are then the component's positions.
            collectMatches(*results, re,
                           MatchSubject(subject_, !caseSensitive, translated->nonAsciiAlike),
                           global);
            results->ran = true;
        }
    } catch (const std::exception&) {
        // Invalid pattern, or a page on which the pattern ran past the engine's
        // complexity or memory limits: the search failed and holds no matches.
        results->spans.clear();
        results->ran = false;
    }
    results_ = std::move(results);
    return results_->ran;
}

void PatternObject::nop() {}

Text PatternObject::patternText() const {
    return results_ ? results_->pattern : Text();
}

Text PatternObject::replace(const Text& replacement) const {
    if (!results_ || !results_->ran)
        return Text();
    const Results& r = *results_;
    const std::u16string wideReplacement = multiByteToWide(replacement, codePageGbk);
    const std::u16string& subject = r.wideSubject(subject_);
    std::u16string out;
    int copied = 0;
    for (int i = 0; i < r.matchCount(); ++i) {
        const auto& whole = r.span(i, 0);
        out.append(subject, copied, whole.start - copied);
        expandReplacement(out, wideReplacement, r, i, subject_);
        copied = whole.start + whole.length;
    }
    out.append(subject, copied);
    return wideToMultiByte(out, codePageGbk);
}

int PatternObject::matchCount() const {
    return results_ ? results_->matchCount() : 0;
}

Text PatternObject::matchText(int match, int* position) const {
    return spanText(match, 0, position);
}

Text PatternObject::submatchText(int match, int group, int* position) const {
    if (group < 1) {
        if (position)
            *position = -1;
        return Text();
    }
    return spanText(match, group, position);
}

Text PatternObject::spanText(int match, int group, int* position) const {
    if (position)
        *position = -1;
    if (!results_ || match < 1 || match > results_->matchCount() || group < 0 ||
        group > results_->groupCount)
        return Text();
    const auto& s = results_->span(match - 1, group);
    // The exact byte offset of the text itself: searching the subject for the text
    // from the match's UTF-16 position could land on an earlier copy of it.
    if (position && s.start >= 0)
        *position = s.byteStart;
    if (s.start < 0)
        return Text();
    if (results_->exactBytes)
        return subject_.substr(static_cast<size_t>(s.byteStart), static_cast<size_t>(s.byteLength));
    // A broken sequence reads as U+FFFD, which converts back to "?", not to its bytes.
    return wideToMultiByte(results_->wideText(s, subject_), codePageGbk);
}

int PatternObject::submatchCount() const {
    return results_ && results_->matchCount() > 0 ? results_->groupCount : 0;
}

} // namespace mz
