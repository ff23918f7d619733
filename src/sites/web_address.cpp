#include "sites/web_address.h"

#include <algorithm>

namespace mz {

bool isWebAddress(const Text& address) {
    auto isControl = [](unsigned char c) { return c < 0x20 || c == 0x7F; };
    if (std::any_of(address.begin(), address.end(), isControl))
        return false;
    for (const Text scheme : {"http://", "https://"}) {
        if (findIgnoreCase(address, scheme) != 1 || address.size() == scheme.size())
            continue;
        char hostStart = address[scheme.size()];
        return hostStart != '/' && hostStart != '\\';
    }
    return false;
}

} // namespace mz
