#pragma once

// Code-page conversion with the Windows 936 table: 0x80 is the euro sign and the
// user-defined areas map to private-use characters, so they round-trip.
// Characters that code page 936 lacks become "?".

#include "text/text.h"

#include <string>

namespace mz {

constexpr int codePageGbk = 936;
constexpr int codePageUtf8 = 65001;

// Bytes of the given code page to UTF-16; invalid sequences become U+FFFD.
std::u16string multiByteToWide(std::string_view bytes, int codePage = codePageUtf8);

// UTF-16 to the given code page. compositeCheck first composes a base character
// and a following combining mark where a precomposed character exists.
Bytes wideToMultiByte(std::u16string_view wide, int codePage = codePageGbk,
                      bool compositeCheck = false);

// Book decoders: the result ends at the first NUL.
Text utf8ToGbk(std::string_view bytes);
// floor(n/2) little-endian units; a trailing odd byte is ignored.
Text utf16leToGbk(std::string_view bytes);

// GBK text to its UTF-8 form.
Bytes gbkToUtf8(std::string_view text);

// A UTF-8 response body as code-page text, ending at the first NUL.
Text utf8ToCodePage(std::string_view bytes);

} // namespace mz
