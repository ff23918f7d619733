#pragma once

#include "text/text.h"

namespace mz {

// True for an http or https address with a host and no control characters: the only
// addresses a captured download link may hand to the system. A page could
// otherwise make a click open a local path, a file: address or a program.
bool isWebAddress(const Text& address);

} // namespace mz
