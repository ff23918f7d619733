#pragma once

// The two encoders of search words and spoken text. Neither knows the address
// around the value: callers append the result to a fixed address.

#include "text/code_page.h" // gbkToUtf8, the UTF-8 form that percentEncode can escape
#include "text/text.h"

namespace mz {

// Every byte as "%" and two upper-case hex digits, over the GBK bytes of text or,
// with utf8, over its UTF-8 form. keepUnreserved keeps "-", ".", the ASCII digits
// and letters as they are.
Text percentEncode(std::string_view text, bool keepUnreserved = false, bool utf8 = false);

// encodeURI of the script engine applied to text; empty when the engine fails.
Text jsEncodeUri(const Text& text);

} // namespace mz
