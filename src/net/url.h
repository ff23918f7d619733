#pragma once

// Address parsing for requests. An address is "http://" or "https://", a host,
// an optional ":port", then path and query; scheme and host may be in any letter
// case and a missing scheme means "http://".

#include "text/text.h"

namespace mz {

// Lower-case host; with keepPort, followed by ":port" when the address has one.
Text urlHost(std::string_view address, bool keepPort = false);

// The explicit port, else 443 for an address starting "https", else 80.
int urlPort(std::string_view address);

// Path with query in the address's letter case; "/" when there is none.
Text urlPath(std::string_view address);

} // namespace mz
