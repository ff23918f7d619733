#include "sites/online_chapters.h"

#include "sites/match_rows.h"

namespace mz {

std::optional<NovelSite> novelSiteOfBookSource(const Text& code) {
    if (code == "1" || code == "3")
        return NovelSite::Biquge;
    if (code == "2" || code == "4")
        return NovelSite::Sogou;
    if (code == "5" || code == "6")
        return NovelSite::E8;
    return std::nullopt;
}

SiteRequest chapterIndexRequest(NovelSite site, const SiteConfig& config, const Text& bookAddress) {
    switch (site) {
    case NovelSite::Biquge:
        return {config.biquge + bookAddress, PageDecoding::CodePage};
    case NovelSite::Sogou:
        return {config.sogou + bookAddress, PageDecoding::CodePage};
    case NovelSite::E8:
        break;
    }
    return {bookAddress, PageDecoding::Utf8};
}

SiteRequest chapterPageRequest(NovelSite site, const SiteConfig& config, const Text& bookAddress,
                               const Text& rowAddress) {
    switch (site) {
    case NovelSite::Biquge:
        return {config.biquge + bookAddress + rowAddress, PageDecoding::CodePage};
    case NovelSite::Sogou:
        return {config.sogou + rowAddress, PageDecoding::CodePage};
    case NovelSite::E8:
        break;
    }
    return {bookAddress + rowAddress, PageDecoding::Utf8};
}

const Text& chapterIndexPattern(NovelSite site) {
    static const Text biquge = "<dd><a href=\"(.*?)\">(.*?)</a></dd>";
    static const Text sogou = "\t<dd><a href =\"(.*?)\">(.*?)</a></dd>";
    static const Text e8 = "<dd> <a style=\"\" href=\"(.*?)\">(.*?)</a></dd>";
    return forNovelSite(site, biquge, sogou, e8);
}

const Text& paragraphPattern(NovelSite site) {
    static const Text biquge = "<p>(.*?)</p>";
    static const Text sogou = "&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;(.*?)<br />";
    static const Text e8 = "&nbsp;&nbsp;(.*?)<br />";
    return forNovelSite(site, biquge, sogou, e8);
}

std::vector<ChapterEntry> takeChapterIndex(NovelSite site, const Text& page,
                                           PatternObject& pattern) {
    std::vector<ChapterEntry> rows;
    appendMatchRows(pattern, chapterIndexPattern(site), page, rows, [&](int i) {
        return ChapterEntry{pattern.submatchText(i, 1), pattern.submatchText(i, 2)};
    });
    return rows;
}

std::vector<Text> takeParagraphs(NovelSite site, const Text& page, PatternObject& pattern) {
    std::vector<Text> paragraphs;
    appendMatchRows(pattern, paragraphPattern(site), page, paragraphs,
                    [&](int i) { return pattern.submatchText(i, 1); });
    return paragraphs;
}

Text chapterText(const std::vector<Text>& paragraphs) {
    Text text;
    for (const Text& paragraph : paragraphs)
        text += "\r\n" + paragraph;
    return text;
}

} // namespace mz
