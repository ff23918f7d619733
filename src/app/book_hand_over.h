#pragma once

// What the main window leaves for the reader window before it opens it: the
// book's source code, its address, and the row it was opened from, still
// selected in the list it came from (the reader window is modal, so the
// selection cannot change while it is open).

#include "text/text.h"

namespace mz {

class ReportList;

class BookHandOver {
  public:
    virtual ~BookHandOver() = default;

    virtual Text bookSource() const = 0;  // 编辑框模式: "0" to "6", or what it held before
    virtual Text bookAddress() const = 0; // 编辑框1
    virtual ReportList& shelfList() = 0;  // 超级列表框1: rows opened with "0", "3", "4", "6"
    virtual ReportList& resultList() = 0; // 超级列表框2: rows opened with "1", "2", "5"
};

} // namespace mz
