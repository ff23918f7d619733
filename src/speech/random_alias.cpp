#include "speech/random_alias.h"

#include <chrono>

#if defined(_MSC_VER) && (defined(_M_X64) || defined(_M_IX86))
#include <intrin.h>
#define MZ_HAS_TIME_STAMP_COUNTER 1
#elif defined(__x86_64__) || defined(__i386__)
#include <x86intrin.h>
#define MZ_HAS_TIME_STAMP_COUNTER 1
#endif

namespace mz {
namespace {

std::uint32_t clockLow32() {
#ifdef MZ_HAS_TIME_STAMP_COUNTER
    return static_cast<std::uint32_t>(__rdtsc());
#else
    return static_cast<std::uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count());
#endif
}

} // namespace

int randomInRangeFrom(std::uint32_t seed, int low, int high) {
    const std::uint32_t r = ((seed * 214013u + 2531011u) >> 16) & 0x7FFFu;
    if (high == 0)
        high = 2147483647;
    // 64-bit: the span of 0..2147483647 does not fit an int, and an empty span
    // must not reach the modulo.
    const std::int64_t span = std::int64_t(high) - low + 1;
    if (span <= 0)
        return low;
    return static_cast<int>(low + std::int64_t(r) % span);
}

int randomInRange(int low, int high) {
    return randomInRangeFrom(clockLow32(), low, high);
}

Text randomAlias() {
    Text alias;
    for (int i = 0; i < 10; ++i) {
        const int k1 = randomInRange(38, 80);
        const int k2 = randomInRange(38, 80);
        alias += static_cast<char>(256 - k1);
        alias += static_cast<char>(256 - k2);
    }
    return alias;
}

} // namespace mz
