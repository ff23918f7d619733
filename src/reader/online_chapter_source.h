#pragma once

// Chapters of a book on one of the three novel sites (BookSource "1" to "6"):
// the index page becomes the rows of 超级列表章节, a chapter page the text of
// 编辑框_内容. Pages are fetched and taken apart on a worker thread; a load or
// a chapter started while an earlier one of the same kind runs replaces it.

#include "app/background_task.h"
#include "app/list_filler.h"
#include "reader/chapter_source.h"
#include "sites/site_config.h"

#include <QObject>

namespace mz {

class ChapterSources;

class OnlineChapterSource : public ChapterSource {
  public:
    OnlineChapterSource(ReaderWindow& reader, SiteConfig sites);

    void loadChapterList(const ReaderContext& context, std::function<void()> done) override;
    void showChapter(const ReaderContext& context, int row) override;
    bool chapterPending() const override;

  private:
    QObject lifetime_; // parent of the tasks' watchers: none outlives this source
    ReaderWindow& reader_;
    SiteConfig sites_;
    BackgroundTask indexTask_;
    BackgroundTask chapterTask_;
    ListFiller filler_;
};

// Registers the online source for the codes "1" to "6".
void addOnlineChapterSources(ChapterSources& sources, const SiteConfig& sites);

} // namespace mz
