#pragma once

// Marker search and header-line helpers shared by the request operations.

#include "text/text.h"

namespace mz {

// The bytes between leftMarker (searched from 1-based start) and the next
// rightMarker after it, or empty when either is missing. "#引号" in a marker
// stands for a double quote, so markers can be written without escaping.
Text textBetween(std::string_view text, std::string_view leftMarker, std::string_view rightMarker,
                 int start = 1, bool matchCase = false);

// The text after the line's first colon, trimmed; empty when it has none.
Text headerValue(std::string_view line);

} // namespace mz
