#include "text/gbk_table.h"

#include <unicode/ucnv.h>

#include <stdexcept>

namespace mz {
namespace {

struct Converter {
    UConverter* handle = nullptr;
    Converter() {
        UErrorCode status = U_ZERO_ERROR;
        handle = ucnv_open("windows-936-2000", &status);
        if (U_FAILURE(status))
            throw std::runtime_error("ICU has no windows-936 converter");
        ucnv_setToUCallBack(handle, UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    }
    ~Converter() { ucnv_close(handle); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // The one UTF-16 unit the bytes decode to, or 0 when they are not one character.
    char16_t decode(const char* bytes, int length) const {
        UErrorCode status = U_ZERO_ERROR;
        UChar out[4];
        ucnv_reset(handle);
        int n = ucnv_toUChars(handle, out, 4, bytes, length, &status);
        return (U_SUCCESS(status) && n == 1) ? out[0] : 0;
    }
};

} // namespace

const GbkTable& GbkTable::instance() {
    static const GbkTable table;
    return table;
}

GbkTable::GbkTable() : pairs_(65536, 0), encode_(65536, unmapped) {
    Converter converter;
    for (int b = 0; b < 256; ++b) {
        if (b >= 0x81 && b <= 0xFE)
            continue;
        char byte = static_cast<char>(b);
        single_[b] = b == 0 ? 0 : converter.decode(&byte, 1);
        if (single_[b] != 0 || b == 0)
            encode_[single_[b]] = static_cast<uint16_t>(b);
    }
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            char bytes[2] = {static_cast<char>(lead), static_cast<char>(trail)};
            char16_t unit = converter.decode(bytes, 2);
            if (unit == 0)
                continue;
            uint16_t code = static_cast<uint16_t>((lead << 8) | trail);
            pairs_[code] = unit;
            if (encode_[unit] == unmapped)
                encode_[unit] = code;
        }
    }
}

} // namespace mz
