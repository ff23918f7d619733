#pragma once

// Where a book's chapters come from. The reader window hands "显示章节名" and
// chapter clicks to the source registered for the book's BookSource code: the
// local file flow for "0", the online flows for "1" to "6".

#include "text/text.h"

#include <functional>

namespace mz {

class BookHandOver;
class ReaderWindow;
struct ProgramState;

// Everything a source may read or write during one call.
struct ReaderContext {
    ReaderWindow& reader; // its controls: 超级列表章节, 编辑框_内容, 标签_状态显示, 组合框2
    ProgramState& state;    // bookText, chapterIndexPage, chapterPage, readerPattern, …
    BookHandOver& handOver; // the main window's 编辑框1, bookshelf and result lists
    Text bookSource;        // the code the call was dispatched by
};

// A source belongs to one reader window and ends with it. Long work runs off the
// user-interface thread (BackgroundTask with the reader window as context), so a
// continuation never outlives the window.
class ChapterSource {
  public:
    virtual ~ChapterSource() = default;

    // Fills 超级列表章节 with the book's chapters. done() runs on the
    // user-interface thread once the list is complete (at once when the work is
    // synchronous), and not at all when a newer load replaced this one.
    virtual void loadChapterList(const ReaderContext& context, std::function<void()> done) = 0;

    // Shows chapter `row` of 超级列表章节 (-1 when no row is selected) in 编辑框_内容.
    virtual void showChapter(const ReaderContext& context, int row) = 0;

    // True while a chapter asked for is still on its way to 编辑框_内容.
    virtual bool chapterPending() const { return false; }
};

} // namespace mz
