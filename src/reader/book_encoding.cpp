#include "reader/book_encoding.h"

#include "text/code_page.h"

#include <unicode/ucnv.h>
#include <unicode/ucsdet.h>

#include <array>
#include <bitset>
#include <cstring>
#include <memory>

namespace mz {
namespace {

constexpr size_t sampleSize = 256 * 1024;

unsigned char byteAt(std::string_view text, size_t i) {
    return static_cast<unsigned char>(text[i]);
}

bool startsWith(std::string_view bytes, std::string_view prefix) {
    return bytes.substr(0, prefix.size()) == prefix;
}

// Length of a valid UTF-8 sequence at bytes[i], or 0.
size_t utf8SequenceLength(std::string_view bytes, size_t i) {
    const unsigned char c = byteAt(bytes, i);
    size_t length = 0;
    unsigned char low = 0x80, high = 0xBF; // range of the second byte
    if (c >= 0xC2 && c <= 0xDF) {
        length = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        length = 3;
        low = c == 0xE0 ? 0xA0 : 0x80;
        high = c == 0xED ? 0x9F : 0xBF;
    } else if (c >= 0xF0 && c <= 0xF4) {
        length = 4;
        low = c == 0xF0 ? 0x90 : 0x80;
        high = c == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (i + length > bytes.size())
        return 0;
    const unsigned char second = byteAt(bytes, i + 1);
    if (second < low || second > high)
        return 0;
    for (size_t k = 2; k < length; ++k) {
        if ((byteAt(bytes, i + k) & 0xC0) != 0x80)
            return 0;
    }
    return length;
}

enum class Utf8Check { Invalid, Ascii, NonAscii };

Utf8Check checkUtf8(std::string_view bytes) {
    bool nonAscii = false;
    size_t i = 0;
    while (i < bytes.size()) {
        if (i + 8 <= bytes.size()) {
            uint64_t word;
            std::memcpy(&word, bytes.data() + i, 8);
            if ((word & 0x8080808080808080ULL) == 0) {
                i += 8;
                continue;
            }
        }
        if (byteAt(bytes, i) < 0x80) {
            ++i;
            continue;
        }
        const size_t length = utf8SequenceLength(bytes, i);
        if (length == 0)
            return Utf8Check::Invalid;
        nonAscii = true;
        i += length;
    }
    return nonAscii ? Utf8Check::NonAscii : Utf8Check::Ascii;
}

bool isTextUnit(char16_t u) {
    return u == 0x09 || u == 0x0A || u == 0x0D || (u >= 0x20 && u <= 0x7E) ||
           (u >= 0x2000 && u <= 0x206F) || (u >= 0x3000 && u <= 0x303F) ||
           (u >= 0x4E00 && u <= 0x9FFF) || (u >= 0xFF00 && u <= 0xFFEF);
}

// Share of the sample's UTF-16 units that are ordinary text for a Chinese book.
double utf16TextShare(std::string_view sample, bool bigEndian) {
    const size_t units = sample.size() / 2;
    if (units == 0)
        return 0;
    size_t text = 0;
    for (size_t k = 0; k < units; ++k) {
        const unsigned char a = byteAt(sample, 2 * k), b = byteAt(sample, 2 * k + 1);
        const auto unit = static_cast<char16_t>(bigEndian ? (a << 8 | b) : (b << 8 | a));
        text += isTextUnit(unit) ? 1 : 0;
    }
    return static_cast<double>(text) / static_cast<double>(units);
}

// The most frequent characters of Chinese prose, simplified and traditional.
constexpr std::u16string_view commonCharacters =
    u"的一是不了在人有我他这這个個们們中来來上大为為和国國地到以说說时時要就出会會可也你对"
    u"對生能而子那得于於着著下自之年过過发發后後作里裡用道行所然家种種事成方多经經么麼去"
    u"法学學如都同现現当當没沒动動面起看定天分还還进進好小其些主样樣理心她本前开開但因只从"
    u"從想实實日见見王太玉宝寶";

using CodeSet = std::bitset<65536>;

// Double-byte codes of the common characters in one code page.
CodeSet commonCodes(const char* converterName) {
    CodeSet codes;
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<UConverter, decltype(&ucnv_close)> converter(ucnv_open(converterName, &status),
                                                                 &ucnv_close);
    if (U_FAILURE(status))
        return codes;
    for (char16_t c : commonCharacters) {
        char out[4];
        status = U_ZERO_ERROR;
        const int32_t n = ucnv_fromUChars(converter.get(), out, sizeof out,
                                          reinterpret_cast<const UChar*>(&c), 1, &status);
        if (U_SUCCESS(status) && n == 2)
            codes.set(static_cast<unsigned char>(out[0]) << 8 | static_cast<unsigned char>(out[1]));
    }
    return codes;
}

// How many double-byte characters of the sample are common characters.
size_t commonCount(std::string_view sample, const CodeSet& codes) {
    size_t count = 0;
    for (size_t i = 0; i + 1 < sample.size();) {
        const unsigned char lead = byteAt(sample, i);
        if (lead < 0x81) {
            ++i;
            continue;
        }
        count += codes.test(lead << 8 | byteAt(sample, i + 1)) ? 1 : 0;
        i += 2;
    }
    return count;
}

// Big5 has no lead bytes 0x81-0xA0 and no trail bytes 0x7F-0xA0; GBK has both.
bool fitsBig5(std::string_view sample) {
    for (size_t i = 0; i + 1 < sample.size();) {
        const unsigned char lead = byteAt(sample, i);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        const unsigned char trail = byteAt(sample, i + 1);
        if (lead < 0xA1 || lead > 0xF9 || trail < 0x40 || (trail > 0x7E && trail < 0xA1) ||
            trail == 0xFF)
            return false;
        i += 2;
    }
    return true;
}

// ICU's statistical guess between the two, for samples with no common character.
bool icuPrefersBig5(std::string_view sample) {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<UCharsetDetector, decltype(&ucsdet_close)> detector(ucsdet_open(&status),
                                                                        &ucsdet_close);
    if (U_FAILURE(status))
        return false;
    ucsdet_setText(detector.get(), sample.data(), static_cast<int32_t>(sample.size()), &status);
    int32_t found = 0;
    const UCharsetMatch** matches = ucsdet_detectAll(detector.get(), &found, &status);
    if (U_FAILURE(status))
        return false;
    int32_t big5 = 0, gb = 0;
    for (int32_t k = 0; k < found; ++k) {
        UErrorCode s = U_ZERO_ERROR;
        const std::string_view name = ucsdet_getName(matches[k], &s);
        const int32_t confidence = ucsdet_getConfidence(matches[k], &s);
        if (name == "Big5")
            big5 = std::max(big5, confidence);
        else if (name == "GB18030")
            gb = std::max(gb, confidence);
    }
    return big5 > gb;
}

// A Big5 text also decodes cleanly as GBK (as nonsense), so clean decoding proves
// nothing: the reading that yields the common characters wins.
bool looksLikeBig5(std::string_view sample) {
    if (!fitsBig5(sample))
        return false;
    static const CodeSet gbkCodes = commonCodes("windows-936");
    static const CodeSet big5Codes = commonCodes("windows-950");
    const size_t gbk = commonCount(sample, gbkCodes);
    const size_t big5 = commonCount(sample, big5Codes);
    if (gbk != big5)
        return big5 > gbk;
    return icuPrefersBig5(sample);
}

Text decodeDetected(std::string_view bytes) {
    const Detection detection = detectEncoding(bytes);
    const std::string_view body = bytes.substr(detection.markLength);
    switch (detection.encoding) {
    case DetectedEncoding::Utf16Le:
        return utf16leToGbk(body);
    case DetectedEncoding::Utf16Be:
        return utf16beToGbk(body);
    case DetectedEncoding::Utf8:
        return utf8ToGbk(upToTextEnd(body));
    case DetectedEncoding::Big5:
        return big5ToGbk(upToTextEnd(body));
    case DetectedEncoding::Gbk:
        break;
    }
    return Text(upToTextEnd(body));
}

} // namespace

Detection detectEncoding(std::string_view bytes) {
    if (startsWith(bytes, "\xEF\xBB\xBF"))
        return {DetectedEncoding::Utf8, 3};
    if (startsWith(bytes, "\xFF\xFE"))
        return {DetectedEncoding::Utf16Le, 2};
    if (startsWith(bytes, "\xFE\xFF"))
        return {DetectedEncoding::Utf16Be, 2};
    const std::string_view sample = bytes.substr(0, sampleSize);
    // UTF-16 first: its line ends and ASCII hold NUL bytes, which UTF-8 accepts.
    // An 8-bit book has no NUL, and plain ASCII pairs up into CJK-looking units,
    // so a NUL byte is required too.
    constexpr double utf16Share = 0.9;
    if (sample.find('\0') != std::string_view::npos) {
        if (utf16TextShare(sample, false) >= utf16Share)
            return {DetectedEncoding::Utf16Le, 0};
        if (utf16TextShare(sample, true) >= utf16Share)
            return {DetectedEncoding::Utf16Be, 0};
    }
    const Utf8Check utf8 = checkUtf8(upToTextEnd(bytes));
    if (utf8 == Utf8Check::NonAscii)
        return {DetectedEncoding::Utf8, 0};
    if (utf8 == Utf8Check::Invalid && looksLikeBig5(upToTextEnd(sample)))
        return {DetectedEncoding::Big5, 0};
    return {DetectedEncoding::Gbk, 0};
}

bool readsRawBytes(BookEncoding choice) {
    return choice == BookEncoding::Unicode || choice == BookEncoding::UnicodeBigEndian ||
           choice == BookEncoding::AutoDetect;
}

bool keepsBytes(BookEncoding choice) {
    return choice == BookEncoding::Ansi || choice == BookEncoding::None;
}

std::string_view trimmedView(std::string_view bytes) {
    const auto isFullWidthSpace = [](std::string_view t) {
        return t.size() >= 2 && t[0] == '\xA1' && t[1] == '\xA1';
    };
    while (!bytes.empty()) {
        if (bytes.front() == ' ')
            bytes.remove_prefix(1);
        else if (isFullWidthSpace(bytes))
            bytes.remove_prefix(2);
        else
            break;
    }
    while (!bytes.empty()) {
        if (bytes.back() == ' ')
            bytes.remove_suffix(1);
        else if (isFullWidthSpace(bytes.substr(bytes.size() - std::min<size_t>(2, bytes.size()))))
            bytes.remove_suffix(2);
        else
            break;
    }
    return bytes;
}

Text decodeBookText(std::string_view bytes, BookEncoding choice) {
    switch (choice) {
    case BookEncoding::Unicode:
    case BookEncoding::UnicodeBigEndian: // taken as little-endian too, as it always was
        return Text(trimmedView(utf16leToGbk(bytes)));
    case BookEncoding::Utf8:
        return utf8ToGbk(trimmedView(bytes));
    case BookEncoding::AutoDetect:
        return Text(trimmedView(decodeDetected(bytes)));
    case BookEncoding::Ansi:
    case BookEncoding::None:
        break;
    }
    return Text(trimmedView(bytes));
}

std::string_view upToTextEnd(std::string_view bytes) {
    const void* nul = std::memchr(bytes.data(), 0, bytes.size());
    const size_t end =
        nul ? static_cast<size_t>(static_cast<const char*>(nul) - bytes.data()) : bytes.size();
    const void* eof = std::memchr(bytes.data(), 0x1A, end);
    return bytes.substr(0, eof ? static_cast<size_t>(static_cast<const char*>(eof) - bytes.data())
                               : end);
}

Text big5ToGbk(std::string_view bytes) {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<UConverter, decltype(&ucnv_close)> converter(ucnv_open("windows-950", &status),
                                                                 &ucnv_close);
    if (U_FAILURE(status))
        return {};
    std::u16string wide(bytes.size() + 1, u'\0');
    const int32_t n = ucnv_toUChars(converter.get(), reinterpret_cast<UChar*>(wide.data()),
                                    static_cast<int32_t>(wide.size()), bytes.data(),
                                    static_cast<int32_t>(bytes.size()), &status);
    if (U_FAILURE(status))
        return {};
    wide.resize(static_cast<size_t>(n));
    return wideToMultiByte(wide, codePageGbk);
}

Text utf16beToGbk(std::string_view bytes) {
    std::string swapped(bytes.substr(0, bytes.size() & ~size_t{1}));
    for (size_t i = 0; i + 1 < swapped.size(); i += 2)
        std::swap(swapped[i], swapped[i + 1]);
    return utf16leToGbk(swapped);
}

} // namespace mz
