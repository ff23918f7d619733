#pragma once

// Shared pieces of the request tests: short limits, a port nothing listens on.

#include "net/transfer_options.h"

#include <string>

namespace mz::test {

// Short limits so failure cases end quickly.
TransferOptions quickOptions();

// A loopback port that refuses connections (bound once, then released).
int closedPort();

} // namespace mz::test
