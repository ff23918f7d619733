#pragma once

// Turning the bytes of a local book into the program's GBK text, by the choice
// of the reader's encoding box or by detection.

#include "text/text.h"

#include <string_view>

namespace mz {

// Indices of the reader's encoding box; -1 stands for no selection.
enum class BookEncoding {
    None = -1,
    Ansi = 0,
    Unicode = 1,
    UnicodeBigEndian = 2,
    Utf8 = 3,
    AutoDetect = 4,
};

enum class DetectedEncoding { Gbk, Utf8, Utf16Le, Utf16Be, Big5 };

struct Detection {
    DetectedEncoding encoding = DetectedEncoding::Gbk;
    size_t markLength = 0; // byte-order mark to skip
};

// Byte-order marks first, then valid UTF-8, UTF-16 without a mark, and GBK
// against Big5 by how often each reading gives the most common characters.
Detection detectEncoding(std::string_view bytes);

// True when a book in this encoding must be read as raw bytes: UTF-16 holds
// NUL bytes, so reading it as text would lose everything after the first one.
bool readsRawBytes(BookEncoding choice);

// True for the choices that take the bytes as GBK as they are (ANSI, none).
bool keepsBytes(BookEncoding choice);

// The bytes without 0x20 and A1 A1 at either end, as trim gives, without a copy.
std::string_view trimmedView(std::string_view bytes);

// The completed load's text: trimmed and decoded as the choice says. The
// UTF-16 choices trim after decoding, since a space byte at either end of
// UTF-16 data is half of a character.
Text decodeBookText(std::string_view bytes, BookEncoding choice);

// What a text read of the bytes yields: everything before the first NUL or 0x1A.
std::string_view upToTextEnd(std::string_view bytes);

// Bytes of a Big5 (code page 950) text as GBK.
Text big5ToGbk(std::string_view bytes);

// Bytes of a UTF-16 big-endian text as GBK.
Text utf16beToGbk(std::string_view bytes);

} // namespace mz
