#include "text/code_page.h"

#include "text/gbk_table.h"

#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/ustring.h>

namespace mz {
namespace {

constexpr char16_t replacementCharacter = 0xFFFD;

// Appends the UTF-16 units of one code point.
void appendCodePoint(std::u16string& out, char32_t cp) {
    if (cp < 0x10000) {
        out.push_back(static_cast<char16_t>(cp));
    } else {
        cp -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    }
}

// Decodes one UTF-8 sequence at text[i]; returns U+FFFD for an invalid byte and
// advances i past what was consumed (one byte when invalid).
char32_t decodeUtf8(std::string_view text, size_t& i) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    unsigned char c = byte(i);
    if (c < 0x80) {
        ++i;
        return c;
    }
    int length = 0;
    char32_t cp = 0;
    char32_t minimum = 0;
    if (c >= 0xC2 && c <= 0xDF) {
        length = 2;
        cp = c & 0x1F;
        minimum = 0x80;
    } else if (c >= 0xE0 && c <= 0xEF) {
        length = 3;
        cp = c & 0x0F;
        minimum = 0x800;
    } else if (c >= 0xF0 && c <= 0xF4) {
        length = 4;
        cp = c & 0x07;
        minimum = 0x10000;
    } else {
        ++i;
        return replacementCharacter;
    }
    if (i + length > text.size()) {
        ++i;
        return replacementCharacter;
    }
    for (int k = 1; k < length; ++k) {
        unsigned char t = byte(i + k);
        if ((t & 0xC0) != 0x80) {
            ++i;
            return replacementCharacter;
        }
        cp = (cp << 6) | (t & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++i;
        return replacementCharacter;
    }
    i += length;
    return cp;
}

void appendGbk(Bytes& out, char32_t cp, const GbkTable& table) {
    uint16_t code = cp < 0x10000 ? table.encode(static_cast<char16_t>(cp)) : GbkTable::unmapped;
    if (code == GbkTable::unmapped) {
        out.push_back('?');
    } else if (code < 0x100) {
        out.push_back(static_cast<char>(code));
    } else {
        out.push_back(static_cast<char>(code >> 8));
        out.push_back(static_cast<char>(code & 0xFF));
    }
}

// UTF-16 to GBK, optionally composing base + combining mark pairs first.
Bytes wideToGbk(std::u16string_view wide, bool compositeCheck) {
    const GbkTable& table = GbkTable::instance();
    const icu::Normalizer2* nfc = nullptr;
    if (compositeCheck) {
        UErrorCode status = U_ZERO_ERROR;
        nfc = icu::Normalizer2::getNFCInstance(status);
        if (U_FAILURE(status))
            nfc = nullptr;
    }
    Bytes out;
    out.reserve(wide.size() * 2);
    for (size_t i = 0; i < wide.size(); ++i) {
        char32_t cp = wide[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 &&
            wide[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (wide[i + 1] - 0xDC00);
            ++i;
        }
        while (nfc && i + 1 < wide.size() && wide[i + 1] >= 0x300 &&
               u_getCombiningClass(wide[i + 1]) != 0) {
            UChar32 composed = nfc->composePair(static_cast<UChar32>(cp), wide[i + 1]);
            if (composed < 0)
                break;
            cp = static_cast<char32_t>(composed);
            ++i;
        }
        appendGbk(out, cp, table);
    }
    return out;
}

std::u16string gbkToWide(std::string_view bytes) {
    // Written into a presized buffer through hoisted table pointers: pages and books
    // are large and this runs before every pattern search.
    const GbkTable& table = GbkTable::instance();
    const char16_t* single = table.singleTable();
    const char16_t* pairs = table.pairTable();
    std::u16string out(bytes.size(), u'\0');
    char16_t* dst = out.data();
    const auto* src = reinterpret_cast<const unsigned char*>(bytes.data());
    const size_t n = bytes.size();
    for (size_t i = 0; i < n; ++i) {
        const unsigned char c = src[i];
        if (!isLeadByte(c)) {
            *dst++ = (single[c] != 0 || c == 0) ? single[c] : replacementCharacter;
            continue;
        }
        const char16_t unit = i + 1 < n ? pairs[(static_cast<size_t>(c) << 8) | src[i + 1]] : 0;
        if (unit != 0) {
            *dst++ = unit;
            ++i;
        } else {
            *dst++ = replacementCharacter;
            // A trail byte that is not part of a character is read again on its own.
            if (i + 1 < n && src[i + 1] >= 0x80)
                ++i;
        }
    }
    out.resize(static_cast<size_t>(dst - out.data()));
    return out;
}

std::u16string utf8ToWide(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size();)
        appendCodePoint(out, decodeUtf8(bytes, i));
    return out;
}

Bytes wideToUtf8(std::u16string_view wide) {
    Bytes out;
    out.reserve(wide.size() * 3);
    for (size_t i = 0; i < wide.size(); ++i) {
        char32_t cp = wide[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 &&
            wide[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (wide[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = replacementCharacter;
        }
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

Text upToNul(Bytes text) {
    size_t nul = text.find('\0');
    if (nul != Bytes::npos)
        text.resize(nul);
    return text;
}

} // namespace

std::u16string multiByteToWide(std::string_view bytes, int codePage) {
    return codePage == codePageGbk ? gbkToWide(bytes) : utf8ToWide(bytes);
}

Bytes wideToMultiByte(std::u16string_view wide, int codePage, bool compositeCheck) {
    return codePage == codePageUtf8 ? wideToUtf8(wide) : wideToGbk(wide, compositeCheck);
}

Text utf8ToGbk(std::string_view bytes) {
    // Direct UTF-8 -> GBK into a buffer sized up front: no sequence yields more GBK
    // bytes than it spans, and books run to hundreds of megabytes.
    const uint16_t* encode = GbkTable::instance().encodeTable();
    Text out(bytes.size(), '\0');
    char* dst = out.data();
    const auto* src = reinterpret_cast<const unsigned char*>(bytes.data());
    const size_t n = bytes.size();
    size_t i = 0;
    while (i < n) {
        unsigned char c = src[i];
        if (c < 0x80) {
            if (c == 0)
                break;
            *dst++ = static_cast<char>(c);
            ++i;
            continue;
        }
        char32_t cp;
        if ((c & 0xF0) == 0xE0 && i + 2 < n && (src[i + 1] & 0xC0) == 0x80 &&
            (src[i + 2] & 0xC0) == 0x80 &&
            ((cp = ((c & 0x0F) << 12) | ((src[i + 1] & 0x3F) << 6) | (src[i + 2] & 0x3F)) >=
             0x800) &&
            (cp < 0xD800 || cp > 0xDFFF)) {
            i += 3;
        } else {
            cp = decodeUtf8(bytes, i);
        }
        uint16_t code = cp < 0x10000 ? encode[cp] : GbkTable::unmapped;
        if (code == GbkTable::unmapped) {
            *dst++ = '?';
        } else if (code < 0x100) {
            *dst++ = static_cast<char>(code);
        } else {
            *dst++ = static_cast<char>(code >> 8);
            *dst++ = static_cast<char>(code & 0xFF);
        }
    }
    out.resize(static_cast<size_t>(dst - out.data()));
    return out;
}

Text utf16leToGbk(std::string_view bytes) {
    std::u16string wide(bytes.size() / 2, u'\0');
    for (size_t k = 0; k < wide.size(); ++k) {
        wide[k] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * k]) |
                                        (static_cast<unsigned char>(bytes[2 * k + 1]) << 8));
    }
    return upToNul(wideToGbk(wide, true));
}

Bytes gbkToUtf8(std::string_view text) {
    return wideToMultiByte(multiByteToWide(text, codePageGbk), codePageUtf8);
}

Text utf8ToCodePage(std::string_view bytes) {
    return upToNul(wideToMultiByte(multiByteToWide(bytes, codePageUtf8), codePageGbk, true));
}

} // namespace mz
