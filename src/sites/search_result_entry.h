#pragma once

#include "text/text.h"

namespace mz {

// One row of the novel search results (超级列表框2), in column order.
struct SearchResultEntry {
    Text address;       // 地址: the book's address on its site
    Text category;      // 类型
    Text title;         // 书名
    Text author;        // 作者
    Text latestChapter; // 最新章节 (empty for 搜狗小说网)
    Text updateTime;    // 更新时间 (empty for 搜狗小说网)

    bool operator==(const SearchResultEntry&) const = default;
};

} // namespace mz
