#pragma once

// Names for playback devices: each playback opens its own device under a fresh
// alias, so these only need to differ between presses, not to be unpredictable.

#include "text/text.h"

#include <cstdint>

namespace mz {

// The linear congruential step over seed: an integer from low to high inclusive.
// high 0 stands for 2147483647; a range that holds nothing gives low.
int randomInRangeFrom(std::uint32_t seed, int low, int high);

// randomInRangeFrom seeded with the low 32 bits of the processor's time-stamp
// counter or, where there is none, of a monotonic clock.
int randomInRange(int low, int high);

// Ten two-byte GB2312 characters, each byte drawn from 0xB0 to 0xDA.
Text randomAlias();

} // namespace mz
