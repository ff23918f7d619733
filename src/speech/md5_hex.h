#pragma once

#include "text/text.h"

namespace mz {

// MD5 digest of bytes as 32 lower-case hex digits, high nibble first; the empty
// text when no digest can be made.
Text md5Hex(std::string_view bytes);

} // namespace mz
