#pragma once

// What auto-scroll does to the reader's chapter text, free of any window.

#include "text/text.h"

#include <QStringList>

#include <optional>
#include <string_view>

namespace mz {

// The speed names of the speed box, in order; the box also has an empty entry.
const QStringList& scrollSpeedNames();

// Timer period in milliseconds for a speed name; empty for any other text.
std::optional<int> scrollPeriod(const QString& speed);

struct ScrollTick {
    enum class Then {
        Nothing,     // more lines remain
        NextChapter, // this tick used the text up
        Stop,        // the text was already empty: nothing left to scroll
    };
    Text text;
    Then then = Then::Nothing;
};

// One tick: removes the first line and the two bytes after it (all of the text
// when fewer remain). Byte counts are those of the GBK text.
ScrollTick scrollTick(std::string_view text);

} // namespace mz
