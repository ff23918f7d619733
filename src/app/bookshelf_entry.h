#pragma once

#include "text/text.h"

namespace mz {

// One row of the bookshelf list, in column order.
struct BookshelfEntry {
    Text address; // 地址: full path of a local file, or the book's address on its site
    Text title;   // 标题
    Text author;  // 作者: empty for a local file
    Text source;  // 来源: empty for a local file, else the site's name

    bool operator==(const BookshelfEntry&) const = default;
};

} // namespace mz
