#include "speech/random_alias.h"

#include <gtest/gtest.h>

#include <set>

namespace mz {
namespace {

TEST(RandomInRange, LinearCongruentialStep) {
    const struct {
        std::uint32_t seed;
        int low;
        int high;
        int expected;
    } cases[] = {
        {0, 38, 80, 76},                                    // r = 38
        {1, 38, 80, 79},                                    // r = 41
        {0xFFFFFFFF, 38, 80, 73},                           // r = 35: the product wraps at 32 bits
        {123456789, 38, 80, 53},                            // r = 13259
        {123456789, -5, 5, -1},   {123456789, 0, 0, 13259}, // high 0 stands for 2147483647
        {123456789, 7, 7, 7},     {123456789, 10, 3, 10},   // a range that holds nothing gives low
        {123456789, 1, 0, 13260},
    };
    for (const auto& c : cases)
        EXPECT_EQ(randomInRangeFrom(c.seed, c.low, c.high), c.expected)
            << "seed " << c.seed << " range " << c.low << ".." << c.high;
}

TEST(RandomInRange, StaysInRangeAndVaries) {
    std::set<int> seen;
    for (int i = 0; i < 2000; ++i) {
        const int value = randomInRange(38, 80);
        ASSERT_GE(value, 38);
        ASSERT_LE(value, 80);
        seen.insert(value);
    }
    EXPECT_GT(seen.size(), 10u);
}

TEST(RandomAlias, TenGb2312Characters) {
    const Text first = randomAlias();
    ASSERT_EQ(first.size(), 20u);
    for (unsigned char byte : first) {
        EXPECT_GE(byte, 0xB0);
        EXPECT_LE(byte, 0xDA);
    }
    // Aliases drawn one after another must differ, or a new playback would close
    // the device of the one before.
    std::set<Text> aliases{first};
    for (int i = 0; i < 20; ++i)
        aliases.insert(randomAlias());
    EXPECT_EQ(aliases.size(), 21u);
}

} // namespace
} // namespace mz
