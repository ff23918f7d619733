#include "reader/reader_settings.h"

#include "reader/profile_file.h"

#include <limits>

namespace mz {
namespace {

// "字体", "字体大小", "文本颜色", "背景颜色" in GBK.
constexpr std::string_view section = "\xD7\xD6\xCC\xE5";
constexpr std::string_view fontKey = "\xD7\xD6\xCC\xE5";
constexpr std::string_view sizeKey = "\xD7\xD6\xCC\xE5\xB4\xF3\xD0\xA1";
constexpr std::string_view textColorKey = "\xCE\xC4\xB1\xBE\xD1\xD5\xC9\xAB";
constexpr std::string_view backgroundKey = "\xB1\xB3\xBE\xB0\xD1\xD5\xC9\xAB";

std::optional<int> integerSetting(const ProfileFile& file, std::string_view key) {
    const Text value = file.value(section, key);
    if (value.empty())
        return std::nullopt;
    return profileInteger(value);
}

} // namespace

int profileInteger(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > std::numeric_limits<int>::max())
            return negative ? std::numeric_limits<int>::min() : std::numeric_limits<int>::max();
    }
    return static_cast<int>(negative ? -value : value);
}

ReaderSettings readReaderSettings(const QString& path) {
    ProfileFile file(path);
    file.load();
    ReaderSettings settings;
    if (Text font = file.value(section, fontKey); !font.empty())
        settings.fontName = std::move(font);
    settings.fontSize = integerSetting(file, sizeKey);
    settings.textColor = integerSetting(file, textColorKey);
    settings.backgroundColor = integerSetting(file, backgroundKey);
    return settings;
}

bool writeReaderSettings(const QString& path, const Text& fontName, int fontSize, int textColor,
                         int backgroundColor) {
    ProfileFile file(path);
    file.load();
    file.setValue(section, fontKey, fontName);
    file.setValue(section, sizeKey, std::to_string(fontSize));
    file.setValue(section, textColorKey, std::to_string(textColor));
    file.setValue(section, backgroundKey, std::to_string(backgroundColor));
    return file.save();
}

} // namespace mz
