#include "net/url.h"

#include "net/header_text.h"

namespace mz {
namespace {

// ASCII letters only, and never the trail byte of a double-byte character.
Text lowerAscii(std::string_view text) {
    Text result(text);
    for (size_t i = 0; i < result.size(); ++i) {
        const auto c = static_cast<unsigned char>(result[i]);
        if (isLeadByte(c) && i + 1 < result.size())
            ++i;
        else if (c >= 'A' && c <= 'Z')
            result[i] = static_cast<char>(c + 32);
    }
    return result;
}

// Leading decimal digits as a number; 0 when there are none. Stops growing
// past any valid port so a long digit run cannot overflow.
int leadingNumber(std::string_view text) {
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9' || value > 65535)
            break;
        value = value * 10 + (c - '0');
    }
    return value;
}

} // namespace

Text urlHost(std::string_view address, bool keepPort) {
    Text lowered = lowerAscii(address);
    if (lowered.empty() || lowered.back() != '/')
        lowered.push_back('/');
    std::string_view marker = "https://";
    if (left(lowered, 8) != marker) {
        marker = "http://";
        if (find(lowered, marker) == -1)
            lowered.insert(0, marker);
    }
    Text host = textBetween(lowered, marker, "/", 1, true);
    if (!keepPort) {
        const int colon = find(host, ":");
        if (colon > 0)
            host = left(host, colon - 1);
    }
    return host;
}

int urlPort(std::string_view address) {
    const Text host = urlHost(address, true);
    const size_t colon = host.rfind(':');
    if (colon != Text::npos)
        return leadingNumber(std::string_view(host).substr(colon + 1));
    return left(lowerAscii(address), 5) == "https" ? 443 : 80;
}

Text urlPath(std::string_view address) {
    // The host is looked for after the scheme: a short host such as "t" or "ps"
    // would otherwise be found inside "https" and the path taken from "//".
    const int schemeEnd = find(address, "://");
    const int searchFrom = schemeEnd == -1 ? 1 : schemeEnd + 3;
    const int hostAt = findIgnoreCase(address, urlHost(address), searchFrom);
    const int slash = find(address, "/", hostAt == -1 ? searchFrom : hostAt);
    if (slash == -1)
        return "/";
    return Text(address.substr(static_cast<size_t>(slash - 1)));
}

} // namespace mz
