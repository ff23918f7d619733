#pragma once

// The bookshelf file "配置.txt": one line per row, each of the four fields followed
// by "----", then CR LF; the first line is the bottom row of the list. GBK bytes,
// no header, no escaping.

#include "app/bookshelf_entry.h"
#include "text/whole_file.h"

#include <QString>

#include <vector>

namespace mz {

struct ParsedBookshelf {
    std::vector<BookshelfEntry> rows; // top row first, as the list shows them
    // True when saving these rows would not give back the bytes they came from
    // (text after the last CR LF, after a NUL, extra or missing fields): the
    // former file then has to be kept before it is replaced.
    bool lossy = false;
};

// Lines of the file as rows of the list. A line with fewer than four fields
// gets the missing ones empty; fields after the fourth are ignored.
ParsedBookshelf parseBookshelf(std::string_view bytes);

// Rows (top first) as the file's bytes: bottom row first, no NUL.
Bytes formatBookshelf(const std::vector<BookshelfEntry>& rows);

// Whole file, or no bytes when it is missing or unreadable.
Bytes readBookshelfFile(const QString& path);

// Writes the whole file or nothing. With keepFormer the file found at path is
// first copied to path + ".bak".
WriteResult writeBookshelfFile(const QString& path, const Bytes& bytes, bool keepFormer);

} // namespace mz
