#include "reader/local_chapter_source.h"

#include "app/book_hand_over.h"
#include "app/program_state.h"
#include "app/report_list.h"
#include "reader/reader_window.h"
#include "text/qt_text.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTimer>

namespace mz {
namespace {

// Rows appended per turn of the event loop: long lists fill without a freeze.
constexpr size_t rowsPerTurn = 500;

std::filesystem::path pathOf(const Text& address) {
    return std::filesystem::path(QFile::encodeName(toQString(address)).toStdString());
}

} // namespace

// A child of the window (found with findChild), though the window's source table
// owns it and deletes it first.
LocalChapterSource::LocalChapterSource(ReaderWindow& reader) : QObject(&reader), reader_(reader) {
    connect(&loader_, &LocalBookLoader::progress, this, &LocalChapterSource::showProgress);
    connect(&loader_, &LocalBookLoader::completed, this, &LocalChapterSource::takeBook);
    connect(&loader_, &LocalBookLoader::stopped, this, [this] { loading_ = false; });
    connect(&loader_, &LocalBookLoader::failed, this, [this] {
        loading_ = false;
        reader_.标签_状态显示->setText(QStringLiteral("载入失败：无法读取文件"));
    });
}

BookEncoding LocalChapterSource::encodingChoice() const {
    return static_cast<BookEncoding>(reader_.组合框2->currentIndex());
}

void LocalChapterSource::loadChapterList(const ReaderContext& context, std::function<void()> done) {
    if (loading_)
        return; // one load at a time: a second press never interleaves with the first
    ReportList& shelf = context.handOver.shelfList();
    const int row = shelf.selectedRow();
    const Text address = shelf.cell(row, 0);
    std::error_code error;
    if (!hasBookSuffix(address) || !std::filesystem::exists(pathOf(address), error))
        return;
    state_ = &context.state;
    shelf_ = &shelf;
    shelfRow_ = row;
    done_ = std::move(done);
    state_->bookText.clear();
    const auto mode =
        readsRawBytes(encodingChoice()) ? BookPieceReader::Mode::Raw : BookPieceReader::Mode::Text;
    loading_ = loader_.start(pathOf(address), mode, [this] { return encodingChoice(); });
}

void LocalChapterSource::showProgress(int percent) {
    reader_.标签_状态显示->setText(QStringLiteral("已载入%1%").arg(percent));
    if (percent == 100)
        reader_.标签_状态显示->setText(QStringLiteral("载入完成"));
}

void LocalChapterSource::takeBook(std::shared_ptr<LocalBook> book) {
    state_->bookText = std::move(book->text);
    names_ = std::move(book->chapterNames);
    starts_ = std::move(book->chapterStarts);
    reader_.超级列表章节->clearRows();
    appendRows(0);
}

void LocalChapterSource::appendRows(size_t from) {
    const size_t to = std::min(names_.size(), from + rowsPerTurn);
    std::vector<std::vector<Text>> rows;
    rows.reserve(to - from);
    for (size_t i = from; i < to; ++i)
        rows.push_back({Text(), names_[i]});
    reader_.超级列表章节->appendRows(rows);
    if (to < names_.size())
        QTimer::singleShot(0, this, [this, to] { appendRows(to); });
    else
        finishLoad();
}

void LocalChapterSource::finishLoad() {
    reader_.超级列表章节->selectRow(0);
    if (state_->bookText.empty())
        reader_.编辑框_内容->clear(); // an empty book: its one row has no text
    showLocalChapter(state_->bookText, 0);
    shelf_->selectRow(shelfRow_);
    loading_ = false;
    if (done_)
        std::exchange(done_, nullptr)();
}

void LocalChapterSource::showChapter(const ReaderContext& context, int row) {
    showLocalChapter(context.state.bookText, row);
}

void LocalChapterSource::showLocalChapter(const Text& bookText, int row) {
    if (bookText.empty())
        return;
    ReportList& list = *reader_.超级列表章节;
    // The starts found while loading hold while the list is the one listed here.
    const auto listed = [&](int r) {
        return r >= 0 && static_cast<size_t>(r) < names_.size() && list.cell(r, 1) == names_[r];
    };
    Text chapter;
    if (static_cast<size_t>(list.rowCount()) == names_.size() && listed(row) &&
        (row + 1 == list.rowCount() || listed(row + 1))) {
        chapter = localChapterText(bookText, starts_, row);
    } else {
        std::vector<Text> names;
        for (int r = 0; r < list.rowCount(); ++r)
            names.push_back(list.cell(r, 1));
        chapter = localChapterText(bookText, names, row);
    }
    reader_.编辑框_内容->setPlainText(toQString(chapter));
    list.selectRow(row);
}

} // namespace mz
