#pragma once

// The chapters of a local book (BookSource "0"): "显示章节名" loads the file of
// the selected bookshelf row with progress in the status label, lists its
// headings and shows the opening row; a click shows the chapter of a row.

#include "reader/chapter_source.h"
#include "reader/local_book_loader.h"

#include <QObject>

namespace mz {

class ReportList;

class LocalChapterSource : public QObject, public ChapterSource {
    Q_OBJECT

  public:
    explicit LocalChapterSource(ReaderWindow& reader);

    void loadChapterList(const ReaderContext& context, std::function<void()> done) override;
    void showChapter(const ReaderContext& context, int row) override;

    // True from "显示章节名" until the list is filled (or the load ended early).
    bool isLoading() const { return loading_; }

  private:
    BookEncoding encodingChoice() const;
    void showProgress(int percent);
    void takeBook(std::shared_ptr<LocalBook> book);
    void appendRows(size_t from);
    void finishLoad();
    void showLocalChapter(const Text& bookText, int row);

    ReaderWindow& reader_;
    LocalBookLoader loader_;
    bool loading_ = false;
    // The running load's hand-over: the book text's owner and the shelf row.
    ProgramState* state_ = nullptr;
    ReportList* shelf_ = nullptr;
    int shelfRow_ = -1;
    std::function<void()> done_;
    // Names and starts of the rows this source listed, to show a chapter without
    // searching the whole book again.
    std::vector<Text> names_;
    std::vector<size_t> starts_;
};

} // namespace mz
