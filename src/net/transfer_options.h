#pragma once

// Limits of one transfer. The defaults are what a user expects of a desktop
// program; tests use short ones.

#include <chrono>
#include <cstddef>
#include <string>

namespace mz {

struct TransferOptions {
    // Name lookup and connecting give up after this long.
    std::chrono::milliseconds connectTimeout{60'000};
    // A transfer that neither sends nor receives a byte for this long gives up
    // (checked about once a second, when curl reports progress).
    std::chrono::milliseconds idleTimeout{60'000};
    // Bodies are cut off at this size.
    std::size_t maxBodyBytes = std::size_t{256} << 20;
    // Certificate file trusted instead of the system's store; empty for the system's.
    std::string caFile;
};

} // namespace mz
