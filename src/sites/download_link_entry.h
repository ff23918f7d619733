#pragma once

#include "text/text.h"

namespace mz {

// One download link of a book (超级列表框4).
struct DownloadLinkEntry {
    Text address; // 地址
    Text mode;    // 模式: the label the page gives the link

    bool operator==(const DownloadLinkEntry&) const = default;
};

} // namespace mz
