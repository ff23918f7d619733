#pragma once

// The program's own text form and its helpers. A Text holds GBK bytes; positions
// count bytes from 1, a failed search gives -1, and no search ever starts a match
// on the second byte of a double-byte character.

#include <string>
#include <string_view>
#include <vector>

namespace mz {

using Text = std::string;  // GBK bytes, no terminator
using Bytes = std::string; // raw bytes: file contents, response bodies

// True for a byte that opens a double-byte GBK character (0x81..0xFE).
constexpr bool isLeadByte(unsigned char c) {
    return c >= 0x81 && c <= 0xFE;
}

// First occurrence of needle at or after 1-based position start, or -1. An empty
// needle is found at start (when start lies within the text or just past it).
int find(std::string_view text, std::string_view needle, int start = 1);

// As find, with ASCII letters matched regardless of case.
int findIgnoreCase(std::string_view text, std::string_view needle, int start = 1);

// Byte offset (0-based) of the first match at or after offset from, or npos.
size_t findOffset(std::string_view text, std::string_view needle, size_t from = 0,
                  bool ignoreCase = false);

Text left(std::string_view text, int count);
Text right(std::string_view text, int count);
// count bytes from 1-based position start; a start below 1 counts as 1.
Text mid(std::string_view text, int start, int count);

// Removes 0x20 and the full-width space A1 A1 at both ends, nothing else.
Text trim(std::string_view text);

// Pieces between occurrences of separator: adjacent or leading separators give
// empty pieces, a final separator gives no piece after it, an empty text none.
std::vector<Text> split(std::string_view text, std::string_view separator);

// Non-overlapping occurrences, ASCII case ignored; 0 when either side is empty.
int countSubtext(std::string_view text, std::string_view subtext);

} // namespace mz
