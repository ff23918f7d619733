#include "net/cookie_list.h"

#include "net/header_text.h"

#include <algorithm>

namespace mz {
namespace {

constexpr std::string_view deletedMark = "=deleted";

bool isDeleted(std::string_view item) {
    return item.size() >= deletedMark.size() &&
           item.substr(item.size() - deletedMark.size()) == deletedMark;
}

// Half-width and full-width spaces anywhere, full-width ones only as whole characters.
Text withoutSpaces(std::string_view text) {
    Text result;
    result.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == ' ')
            continue;
        if (isLeadByte(c) && i + 1 < text.size()) {
            if (c != 0xA1 || static_cast<unsigned char>(text[i + 1]) != 0xA1)
                result.append(text.substr(i, 2));
            ++i;
            continue;
        }
        result.push_back(text[i]);
    }
    return result;
}

// New items first, then the old items whose name the new list does not hold.
std::vector<Text> mergedItems(const Text& cookies, const Text& newCookies) {
    std::vector<Text> items = split(newCookies, ";");
    std::vector<Text> newNames;
    newNames.reserve(items.size());
    for (const Text& item : items)
        newNames.push_back(cookieName(item));
    for (Text& old : split(cookies, ";")) {
        if (std::find(newNames.begin(), newNames.end(), cookieName(old)) == newNames.end())
            items.push_back(std::move(old));
    }
    return items;
}

Text joinLive(const std::vector<Text>& items, std::string_view separator) {
    Text joined;
    for (const Text& item : items) {
        if (isDeleted(item))
            continue;
        joined.append(item);
        joined.append(separator);
    }
    joined.resize(joined.size() - std::min(joined.size(), separator.size()));
    return joined;
}

Text joinDistinct(const std::vector<Text>& items, std::string_view separator) {
    std::vector<Text> seen;
    Text joined;
    for (const Text& item : items) {
        if (std::find(seen.begin(), seen.end(), item) != seen.end())
            continue;
        if (!seen.empty())
            joined.append(separator);
        joined.append(item);
        seen.push_back(item);
    }
    return joined;
}

Text joinCookieItems(const std::vector<Text>& items) {
    Text joined;
    for (const Text& item : items) {
        if (item.empty())
            continue;
        if (!joined.empty())
            joined.append("; ");
        joined.append(item);
    }
    return joined;
}

// "Set-Cookie:" removed wherever it occurs, letter case ignored.
Text withoutSetCookieLabel(std::string_view line) {
    constexpr std::string_view label = "Set-Cookie:";
    Text result;
    size_t from = 0;
    size_t at = 0;
    while ((at = findOffset(line, label, from, true)) != std::string_view::npos) {
        result.append(line.substr(from, at - from));
        from = at + label.size();
    }
    result.append(line.substr(from));
    return result;
}

} // namespace

Text cookieName(std::string_view item) {
    const size_t equals = findOffset(item, "=");
    return trim(equals == std::string_view::npos ? item : item.substr(0, equals));
}

Text mergeCookieLists(Text& cookies, Text& newCookies) {
    cookies = withoutSpaces(cookies);
    newCookies = withoutSpaces(newCookies);
    cookies = joinLive(mergedItems(cookies, newCookies), "; ");
    return cookies;
}

Text mergeCookieListsEx(Text& cookies, Text& newCookies) {
    cookies = trim(cookies);
    newCookies = trim(newCookies);
    cookies = joinDistinct(split(joinLive(mergedItems(cookies, newCookies), ";"), ";"), ";");
    return cookies;
}

Text setCookieList(std::string_view rawHeaders) {
    constexpr std::string_view label = "Set-Cookie:";
    std::vector<Text> items;
    for (const Text& line : split(rawHeaders, "\r\n")) {
        if (find(line, "Set-Cookie") == -1)
            continue;
        const size_t labelAt = findOffset(line, label, 0, true);
        if (labelAt == std::string_view::npos)
            continue;
        const size_t valueAt = labelAt + label.size();
        const size_t semicolon = findOffset(line, ";", valueAt);
        items.push_back(trim(std::string_view(line).substr(
            valueAt, semicolon == std::string_view::npos ? Text::npos : semicolon - valueAt)));
    }
    return joinCookieItems(items);
}

Text setCookieListEx(std::string_view rawHeaders) {
    std::vector<Text> items;
    for (const Text& line : split(rawHeaders, "\r\n")) {
        const size_t nameEnd = findOffset(line, ": ");
        if (nameEnd == std::string_view::npos ||
            std::string_view(line).substr(0, nameEnd) != "Set-Cookie")
            continue;
        if (find(line, ";") == -1)
            items.push_back(trim(withoutSetCookieLabel(line)));
        else
            items.push_back(trim(textBetween(line, "Set-Cookie:", ";", 1, true)));
    }
    return joinCookieItems(items);
}

} // namespace mz
