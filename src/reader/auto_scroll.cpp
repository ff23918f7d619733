#include "reader/auto_scroll.h"

#include <array>

namespace mz {

const QStringList& scrollSpeedNames() {
    static const QStringList names{QStringLiteral("慢"), QStringLiteral("较慢"),
                                   QStringLiteral("适中"), QStringLiteral("较快"),
                                   QStringLiteral("快")};
    return names;
}

std::optional<int> scrollPeriod(const QString& speed) {
    static constexpr std::array<int, 5> periods{600, 400, 250, 160, 100};
    const qsizetype index = scrollSpeedNames().indexOf(speed);
    if (index < 0)
        return std::nullopt;
    return periods[static_cast<size_t>(index)];
}

ScrollTick scrollTick(std::string_view text) {
    if (text.empty())
        return {Text(), ScrollTick::Then::Stop};
    const size_t lineEnd = text.find("\r\n");
    const size_t removed = lineEnd == std::string_view::npos ? text.size() : lineEnd + 2;
    ScrollTick tick{Text(text.substr(std::min(removed, text.size()))), ScrollTick::Then::Nothing};
    if (tick.text.empty())
        tick.then = ScrollTick::Then::NextChapter;
    return tick;
}

} // namespace mz
