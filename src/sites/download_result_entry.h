#pragma once

#include "text/text.h"

namespace mz {

// One book found by a download search (超级列表框3).
struct DownloadResultEntry {
    Text address; // 地址
    Text title;   // 标题

    bool operator==(const DownloadResultEntry&) const = default;
};

} // namespace mz
