#include "text/text.h"

#include <algorithm>
#include <cstring>

namespace mz {
namespace {

constexpr unsigned char lowerAscii(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 32) : c;
}

// Walks character boundaries forward so that candidate offsets can be checked for
// lying on a character start in linear time overall.
class BoundaryWalker {
  public:
    explicit BoundaryWalker(std::string_view text) : text_(text) {}

    // True when offset starts a character. Offsets must not decrease between calls.
    bool startsCharacter(size_t offset) {
        while (next_ < offset) {
            next_ += isLeadByte(static_cast<unsigned char>(text_[next_])) ? 2 : 1;
        }
        return next_ == offset;
    }

  private:
    std::string_view text_;
    size_t next_ = 0;
};

bool equalsIgnoreCase(const char* a, const char* b, size_t n) {
    for (size_t i = 0; i < n; ++i) {
        if (lowerAscii(static_cast<unsigned char>(a[i])) !=
            lowerAscii(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

// Next candidate offset >= from whose bytes equal the needle (case folded when asked).
size_t nextCandidate(std::string_view text, std::string_view needle, size_t from, bool ignoreCase) {
    if (!ignoreCase)
        return text.find(needle, from);
    const unsigned char first = lowerAscii(static_cast<unsigned char>(needle[0]));
    const bool firstIsLetter = first >= 'a' && first <= 'z';
    const size_t last = text.size() - needle.size();
    for (size_t i = from; i <= last && text.size() >= needle.size(); ++i) {
        const void* hit = nullptr;
        if (firstIsLetter) {
            unsigned char c = lowerAscii(static_cast<unsigned char>(text[i]));
            if (c != first)
                continue;
        } else {
            hit = std::memchr(text.data() + i, first, last - i + 1);
            if (!hit)
                return std::string_view::npos;
            i = static_cast<const char*>(hit) - text.data();
        }
        if (equalsIgnoreCase(text.data() + i, needle.data(), needle.size()))
            return i;
    }
    return std::string_view::npos;
}

// Searches with a walker shared across calls, so repeated searches stay linear.
size_t findWith(BoundaryWalker& walker, std::string_view text, std::string_view needle, size_t from,
                bool ignoreCase) {
    if (from > text.size() || needle.size() > text.size() - from)
        return std::string_view::npos;
    if (needle.empty())
        return walker.startsCharacter(from) ? from : std::string_view::npos;
    size_t at = from;
    while ((at = nextCandidate(text, needle, at, ignoreCase)) != std::string_view::npos) {
        if (walker.startsCharacter(at))
            return at;
        ++at;
    }
    return std::string_view::npos;
}

} // namespace

size_t findOffset(std::string_view text, std::string_view needle, size_t from, bool ignoreCase) {
    BoundaryWalker walker(text);
    return findWith(walker, text, needle, from, ignoreCase);
}

int find(std::string_view text, std::string_view needle, int start) {
    size_t from = start < 1 ? 0 : static_cast<size_t>(start - 1);
    size_t at = findOffset(text, needle, from, false);
    return at == std::string_view::npos ? -1 : static_cast<int>(at + 1);
}

int findIgnoreCase(std::string_view text, std::string_view needle, int start) {
    size_t from = start < 1 ? 0 : static_cast<size_t>(start - 1);
    size_t at = findOffset(text, needle, from, true);
    return at == std::string_view::npos ? -1 : static_cast<int>(at + 1);
}

Text left(std::string_view text, int count) {
    if (count <= 0)
        return {};
    return Text(text.substr(0, static_cast<size_t>(count)));
}

Text right(std::string_view text, int count) {
    if (count <= 0)
        return {};
    size_t n = std::min(text.size(), static_cast<size_t>(count));
    return Text(text.substr(text.size() - n));
}

Text mid(std::string_view text, int start, int count) {
    if (count <= 0)
        return {};
    size_t from = start < 1 ? 0 : static_cast<size_t>(start - 1);
    if (from >= text.size())
        return {};
    return Text(text.substr(from, static_cast<size_t>(count)));
}

Text trim(std::string_view text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end) {
        if (text[begin] == ' ') {
            ++begin;
        } else if (end - begin >= 2 && static_cast<unsigned char>(text[begin]) == 0xA1 &&
                   static_cast<unsigned char>(text[begin + 1]) == 0xA1) {
            begin += 2;
        } else {
            break;
        }
    }
    while (end > begin) {
        if (text[end - 1] == ' ') {
            --end;
        } else if (end - begin >= 2 && static_cast<unsigned char>(text[end - 1]) == 0xA1 &&
                   static_cast<unsigned char>(text[end - 2]) == 0xA1) {
            end -= 2;
        } else {
            break;
        }
    }
    return Text(text.substr(begin, end - begin));
}

std::vector<Text> split(std::string_view text, std::string_view separator) {
    std::vector<Text> pieces;
    if (text.empty())
        return pieces;
    if (separator.empty()) {
        pieces.emplace_back(text);
        return pieces;
    }
    size_t from = 0;
    BoundaryWalker walker(text);
    size_t at = 0;
    while ((at = text.find(separator, at)) != std::string_view::npos) {
        if (!walker.startsCharacter(at)) {
            ++at;
            continue;
        }
        pieces.emplace_back(text.substr(from, at - from));
        at += separator.size();
        from = at;
    }
    if (from < text.size())
        pieces.emplace_back(text.substr(from));
    return pieces;
}

int countSubtext(std::string_view text, std::string_view subtext) {
    if (text.empty() || subtext.empty())
        return 0;
    BoundaryWalker walker(text);
    int count = 0;
    size_t at = 0;
    while ((at = findWith(walker, text, subtext, at, true)) != std::string_view::npos) {
        ++count;
        at += subtext.size();
    }
    return count;
}

} // namespace mz
