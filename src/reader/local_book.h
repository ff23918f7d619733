#pragma once

// The chapter list of a loaded local book and the text of one chapter.

#include "reader/book_encoding.h"
#include "text/text.h"

#include <string_view>
#include <vector>

namespace mz {

struct LocalBook {
    Text text;                         // trimmed and decoded
    std::vector<Text> chapterNames;    // row 0 is the opening row, then one per heading
    std::vector<size_t> chapterStarts; // first occurrence of each name, as chapterStart gives
};

// Whether an address names a book the reader loads: the last three bytes are
// "txt" in any letter case (a dot is not required).
bool hasBookSuffix(std::string_view address);

// The opening row's name: the text up to and including the CR of the first
// CR LF; empty when the text has no CR LF.
Text openingRowName(std::string_view text);

// Row names for the chapter list: the opening row, then each heading in order.
std::vector<Text> chapterRowNames(std::string_view text);

// What a completed load leaves: the decoded text and its rows.
LocalBook completeLocalBook(std::string_view bytes, BookEncoding choice);

// Where a row's chapter starts: the first occurrence of its name (ASCII case
// ignored, never on a second byte), 0-based; npos when absent.
size_t chapterStart(std::string_view text, std::string_view name);

// The text of chapter row `row`: from its name's first occurrence up to the
// next row's, the last row up to the end. Empty when the row does not exist,
// the name is absent or the next chapter begins first.
Text localChapterText(std::string_view text, const std::vector<Text>& names, int row);

// The same from the rows' starts computed beforehand.
Text localChapterText(std::string_view text, const std::vector<size_t>& starts, int row);

} // namespace mz
