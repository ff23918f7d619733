#pragma once

// The reader's font and colours as kept in "config.ini", section "字体".

#include "text/text.h"

#include <QString>

#include <optional>

namespace mz {

// Colours are Windows colour values: red in the low byte, then green, then blue.
struct ReaderSettings {
    std::optional<Text> fontName; // empty: keep what the window has
    std::optional<int> fontSize;  // points
    std::optional<int> textColor;
    std::optional<int> backgroundColor;
};

// Decimal text as the settings read it: leading blanks and a sign allowed,
// reading stops at the first non-digit, no digit at all gives 0.
int profileInteger(std::string_view text);

// The four values of section "字体"; a missing file, section or key, or an
// empty value, leaves that setting empty.
ReaderSettings readReaderSettings(const QString& path);

// Writes all four keys, keeping the rest of the file; the file is replaced
// whole or not at all. False when it could not be written.
bool writeReaderSettings(const QString& path, const Text& fontName, int fontSize, int textColor,
                         int backgroundColor);

} // namespace mz
