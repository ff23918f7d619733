#include "text/match_subject.h"

#include "text/gbk_table.h"
#include "text/text.h"
#include "text/vbscript_syntax.h"

#include <array>
#include <bit>
#include <cstring>

namespace mz {
namespace {

constexpr char16_t replacementCharacter = 0xFFFD;

} // namespace

MatchSubject::MatchSubject(std::string_view gbk, bool ignoreCase, bool nonAsciiAlike)
    : units_(std::make_unique_for_overwrite<std::int32_t[]>(gbk.size())) {
    // The same reading as multiByteToWide: a lead byte without a valid trail byte is
    // one U+FFFD, taking the trail byte along when it is not ASCII.
    const GbkTable& table = GbkTable::instance();
    const char16_t* single = table.singleTable();
    const char16_t* pairs = table.pairTable();
    const std::int32_t* matchUnit = matchUnitTable(ignoreCase, nonAsciiAlike);
    const auto decodeSingle = [&](unsigned char c) {
        return (single[c] != 0 || c == 0) ? single[c] : replacementCharacter;
    };
    std::array<std::int32_t, 0x80> asciiUnits;
    for (unsigned char c = 0; c < 0x80; ++c)
        asciiUnits[c] = matchUnit[decodeSingle(c)];

    const auto* src = reinterpret_cast<const unsigned char*>(gbk.data());
    const std::size_t n = gbk.size();
    blockStarts_.resize((n >> blockBits) + 1);
    doubleByteUnits_.resize((n >> blockBits) + 1);
    std::int32_t* dst = units_.get();
    bool exact = true;
    std::size_t i = 0;
    std::size_t k = 0;
    while (i < n) {
        const std::size_t block = k >> blockBits;
        const std::size_t blockEnd = k + (std::size_t{1} << blockBits);
        blockStarts_[block] = static_cast<std::uint32_t>(i);
        std::uint64_t doubles = 0;
        while (k < blockEnd && i < n) {
            // Pages are mostly ASCII markup: eight such bytes at a time.
            std::uint64_t eight;
            if (k + 8 <= blockEnd && i + 8 <= n &&
                (std::memcpy(&eight, src + i, 8), (eight & 0x8080808080808080u) == 0)) {
                for (int b = 0; b < 8; ++b)
                    dst[k + b] = asciiUnits[src[i + b]];
                i += 8;
                k += 8;
                continue;
            }
            const unsigned char c = src[i];
            char16_t unit;
            std::size_t length = 1;
            if (!isLeadByte(c)) {
                unit = decodeSingle(c);
            } else {
                const char16_t pair =
                    i + 1 < n ? pairs[(static_cast<std::size_t>(c) << 8) | src[i + 1]] : 0;
                unit = pair != 0 ? pair : replacementCharacter;
                if (pair != 0 || (i + 1 < n && src[i + 1] >= 0x80))
                    length = 2;
            }
            exact = exact && unit != replacementCharacter;
            doubles |= static_cast<std::uint64_t>(length - 1) << (k & 63);
            dst[k++] = matchUnit[unit];
            i += length;
        }
        doubleByteUnits_[block] = doubles;
    }
    size_ = k;
    exactBytes_ = exact;
    // An end on a block boundary opens a block of its own.
    if ((k & 63) == 0) {
        blockStarts_[k >> blockBits] = static_cast<std::uint32_t>(n);
        doubleByteUnits_[k >> blockBits] = 0;
    }
}

int MatchSubject::byteOffset(std::size_t unit) const {
    const std::size_t block = unit >> blockBits;
    const std::size_t bit = unit & 63;
    const std::uint64_t before = doubleByteUnits_[block] & ((std::uint64_t{1} << bit) - 1);
    return static_cast<int>(blockStarts_[block] + bit + std::popcount(before));
}

} // namespace mz
