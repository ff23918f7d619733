#pragma once

// Chapter index and chapter text of books on the three novel sites, chosen by
// the book-source code "1" to "6". Addresses are joined by plain concatenation.

#include "sites/chapter_entry.h"
#include "sites/novel_search.h"

#include <optional>
#include <vector>

namespace mz {

// "1", "3": 笔趣阁; "2", "4": 搜狗小说网; "5", "6": E8中文网; anything else: none.
std::optional<NovelSite> novelSiteOfBookSource(const Text& code);

// 笔趣阁 and 搜狗小说网: base address + book address; E8中文网: the book address.
SiteRequest chapterIndexRequest(NovelSite site, const SiteConfig& config, const Text& bookAddress);

// rowAddress is the 地址 of the chosen chapter row. 笔趣阁: base + book + row;
// 搜狗小说网: base + row; E8中文网: book + row.
SiteRequest chapterPageRequest(NovelSite site, const SiteConfig& config, const Text& bookAddress,
                               const Text& rowAddress);

const Text& chapterIndexPattern(NovelSite site);
const Text& paragraphPattern(NovelSite site);

// One row per chapter link, in page order.
std::vector<ChapterEntry> takeChapterIndex(NovelSite site, const Text& page,
                                           PatternObject& pattern);

// The paragraphs as captured: entities and tags inside them are left as they are.
std::vector<Text> takeParagraphs(NovelSite site, const Text& page, PatternObject& pattern);

// The text the reader shows: "\r\n" before each paragraph; empty for none.
Text chapterText(const std::vector<Text>& paragraphs);

} // namespace mz
