#pragma once

// A GBK subject decoded once for the regular-expression engine, straight from its
// bytes: one match unit per UTF-16 unit of its conversion, in the form
// toMatchUnits gives, and the byte at which each unit begins. Matches found in it
// are read back by cutting the bytes, not by converting the units again.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace mz {

class MatchSubject {
  public:
    MatchSubject(std::string_view gbk, bool ignoreCase, bool nonAsciiAlike);

    const std::int32_t* units() const { return units_.get(); }
    std::size_t size() const { return size_; }

    // Byte offset in the subject of unit i, or of the end for i == size().
    int byteOffset(std::size_t unit) const;

    // True when every unit converts back to exactly the bytes it came from (no
    // broken sequence became U+FFFD), so the text of any span is its bytes.
    bool exactBytes() const { return exactBytes_; }

  private:
    static constexpr std::size_t blockBits = 6; // 64 units per block

    std::unique_ptr<std::int32_t[]> units_;
    std::size_t size_ = 0;
    // Per block of 64 units: the byte offset of its first unit, and one bit per
    // unit that took two bytes. A table of every unit's offset cost more to write
    // than converting the matches back.
    std::vector<std::uint32_t> blockStarts_;
    std::vector<std::uint64_t> doubleByteUnits_;
    bool exactBytes_ = true;
};

} // namespace mz
