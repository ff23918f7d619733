#pragma once

// Chapter headings of a local book. The heading pattern is run with Perl syntax,
// ASCII letter case ignored, over the GBK bytes, collecting all non-overlapping
// matches from left to right. Two things make it character-aware: a bracket such
// as [^章] excludes the heading character as a whole (not each of its bytes), and
// no heading starts inside a double-byte character. The word boundary before a
// run of numerals classifies whole characters as a Unicode-aware engine does.

#include "text/text.h"

#include <string>
#include <string_view>
#include <vector>

namespace mz {

// The heading pattern as the program has always stated it (GBK, 171 bytes).
extern const std::string_view chapterPattern;

struct ChapterHeading {
    size_t offset = 0; // 0-based byte offset of the match in the text
    size_t length = 0; // bytes; a heading from a CR LF line ends with its CR
};

// All headings of text, in text order.
std::vector<ChapterHeading> findChapterHeadings(std::string_view text);

// The first occurrence of each name (0-based, ASCII case ignored, never on a
// second byte; npos when absent), found in one pass over the text: the same
// positions findOffset gives one name at a time.
std::vector<size_t> firstOccurrences(std::string_view text, const std::vector<Text>& names);

// The anchored form used at each candidate start: the pattern with its brackets
// made character-aware and without the word boundary (checked by the caller).
std::string characterAwarePattern();

// True when the character that ends just before offset is a word character
// (letter incl. CJK ideograph, digit, mark, connector such as "_"); false at
// the start of the text. offset must start a character.
bool wordCharacterBefore(std::string_view text, size_t offset);

} // namespace mz
