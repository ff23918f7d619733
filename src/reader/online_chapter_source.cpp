#include "reader/online_chapter_source.h"

#include "app/book_hand_over.h"
#include "app/page_rows.h"
#include "app/program_state.h"
#include "app/report_list.h"
#include "reader/chapter_sources.h"
#include "reader/reader_window.h"
#include "sites/online_chapters.h"
#include "sites/site_page.h"
#include "text/qt_text.h"

#include <QPlainTextEdit>
#include <QTextCursor>

namespace mz {
namespace {

struct ChapterOutcome {
    Text page;
    Text text;
};

PageRows fetchIndex(NovelSite site, const SiteRequest& request) {
    return fetchPageRows(request, site, takeChapterIndex, [](ChapterEntry entry) {
        return std::vector<Text>{std::move(entry.address), std::move(entry.name)};
    });
}

// Worker-thread half, with a pattern object of its own, so a flow never reads
// the matches of a later one.
ChapterOutcome fetchChapter(NovelSite site, const SiteRequest& request) {
    ChapterOutcome outcome;
    outcome.page = fetchSitePage(request);
    PatternObject pattern;
    outcome.text = chapterText(takeParagraphs(site, outcome.page, pattern));
    return outcome;
}

// The book's address for its index: the 地址 of the row it was opened from,
// in the search results for "1", "2", "5", on the bookshelf otherwise.
Text indexBookAddress(const ReaderContext& context) {
    const Text& code = context.bookSource;
    ReportList& list = code == "1" || code == "2" || code == "5" ? context.handOver.resultList()
                                                                 : context.handOver.shelfList();
    return list.cell(list.selectedRow(), 0);
}

// The text starts with a line break; the caret goes just after it so the
// chapter's first line is in view.
void showText(QPlainTextEdit& box, const Text& text) {
    box.setPlainText(toQString(text));
    QTextCursor caret = box.textCursor();
    caret.setPosition(std::min(1, box.document()->characterCount() - 1));
    box.setTextCursor(caret);
    box.ensureCursorVisible();
}

} // namespace

OnlineChapterSource::OnlineChapterSource(ReaderWindow& reader, SiteConfig sites)
    : reader_(reader), sites_(std::move(sites)), indexTask_(&lifetime_), chapterTask_(&lifetime_),
      filler_(*reader.超级列表章节) {}

void OnlineChapterSource::loadChapterList(const ReaderContext& context,
                                          std::function<void()> done) {
    const auto site = novelSiteOfBookSource(context.bookSource);
    if (!site) {
        done();
        return;
    }
    filler_.cancel();
    const SiteRequest request = chapterIndexRequest(*site, sites_, indexBookAddress(context));
    ProgramState& state = context.state;
    indexTask_.start([site = *site, request] { return fetchIndex(site, request); },
                     [this, &state, done = std::move(done)](PageRows outcome) {
                         state.chapterIndexPage = std::move(outcome.page);
                         filler_.replaceRows(std::move(outcome.rows), done);
                     });
}

void OnlineChapterSource::showChapter(const ReaderContext& context, int row) {
    const auto site = novelSiteOfBookSource(context.bookSource);
    if (!site)
        return;
    const SiteRequest request = chapterPageRequest(*site, sites_, context.handOver.bookAddress(),
                                                   reader_.超级列表章节->cell(row, 0));
    ProgramState& state = context.state;
    chapterTask_.start([site = *site, request] { return fetchChapter(site, request); },
                       [this, &state](ChapterOutcome outcome) {
                           state.chapterPage = std::move(outcome.page);
                           showText(*reader_.编辑框_内容, outcome.text);
                       });
}

bool OnlineChapterSource::chapterPending() const {
    return chapterTask_.isRunning();
}

void addOnlineChapterSources(ChapterSources& sources, const SiteConfig& sites) {
    for (const char* code : {"1", "2", "3", "4", "5", "6"}) {
        sources.add(code, [sites](ReaderWindow& reader) {
            return std::make_unique<OnlineChapterSource>(reader, sites);
        });
    }
}

} // namespace mz
