#pragma once

#include "text/text.h"

namespace mz {

// One row of the reader's chapter list (超级列表章节).
struct ChapterEntry {
    Text address; // 地址: the chapter link as the index page gives it
    Text name;    // 章节名

    bool operator==(const ChapterEntry&) const = default;
};

} // namespace mz
