#include "net/header_text.h"

namespace mz {
namespace {

// "#引号" in GBK.
constexpr std::string_view quoteMarker = "#\xD2\xFD\xBA\xC5";

Text withQuotes(std::string_view marker) {
    Text result;
    size_t from = 0;
    size_t at = 0;
    while ((at = findOffset(marker, quoteMarker, from)) != std::string_view::npos) {
        result.append(marker.substr(from, at - from));
        result.push_back('"');
        from = at + quoteMarker.size();
    }
    result.append(marker.substr(from));
    return result;
}

} // namespace

Text textBetween(std::string_view text, std::string_view leftMarker, std::string_view rightMarker,
                 int start, bool matchCase) {
    const Text leftText = withQuotes(leftMarker);
    const Text rightText = withQuotes(rightMarker);
    const size_t from = start < 1 ? 0 : static_cast<size_t>(start - 1);
    const size_t leftAt = findOffset(text, leftText, from, !matchCase);
    if (leftAt == std::string_view::npos)
        return {};
    const size_t valueAt = leftAt + leftText.size();
    const size_t rightAt = findOffset(text, rightText, valueAt, !matchCase);
    if (rightAt == std::string_view::npos)
        return {};
    return Text(text.substr(valueAt, rightAt - valueAt));
}

Text headerValue(std::string_view line) {
    const size_t colon = findOffset(line, ":");
    if (colon == std::string_view::npos)
        return {};
    return trim(line.substr(colon + 1));
}

} // namespace mz
