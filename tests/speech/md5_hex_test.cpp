#include "speech/md5_hex.h"

#include <gtest/gtest.h>

namespace mz {
namespace {

TEST(Md5Hex, KnownDigests) {
    // Expected values from md5sum over the same bytes.
    const struct {
        const char* name;
        Text bytes;
        Text digest;
    } cases[] = {
        {"empty", "", "d41d8cd98f00b204e9800998ecf8427e"},
        {"abc", "abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"GBK bytes of 中文, not UTF-8", "\xD6\xD0\xCE\xC4", "bcce109775e8e1972e9f5fcda3e12895"},
        {"untrimmed, with a line break", " \xD6\xD0\r\n", "44080b7ccc1b705320144087e1b75098"},
        {"an inner NUL is hashed", Text("a\0b", 3), "70350f6027bce3713f6b76473084309b"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(md5Hex(c.bytes), c.digest) << c.name;
}

} // namespace
} // namespace mz
