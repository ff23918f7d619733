#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace mz {

// Code page 936 in both directions, built once from ICU's Windows 936 table so
// that the hot conversion loops are plain table lookups.
class GbkTable {
  public:
    static const GbkTable& instance();

    // UTF-16 unit of a single byte below 0x80 or 0x80 (euro) or 0xFF; 0 for a lead byte.
    char16_t single(unsigned char byte) const { return single_[byte]; }

    // UTF-16 unit of a lead/trail pair, or 0 when the pair is not a character.
    char16_t pair(unsigned char lead, unsigned char trail) const {
        return pairs_[(static_cast<std::size_t>(lead) << 8) | trail];
    }

    // GBK code of a BMP character: below 0x100 a single byte, otherwise lead<<8|trail;
    // 0xFFFF when code page 936 has no form for it (U+0000 maps to 0).
    uint16_t encode(char16_t unit) const { return encode_[unit]; }

    // The whole decode tables, for the same reason as encodeTable().
    const char16_t* singleTable() const { return single_.data(); }
    const char16_t* pairTable() const { return pairs_.data(); }

    // The whole encode table, for loops that must not reload it after every byte store.
    const uint16_t* encodeTable() const { return encode_.data(); }

    static constexpr uint16_t unmapped = 0xFFFF;

  private:
    GbkTable();

    std::array<char16_t, 256> single_{};
    std::vector<char16_t> pairs_;
    std::vector<uint16_t> encode_;
};

} // namespace mz
