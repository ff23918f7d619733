#include "sites/novel_search.h"

#include "sites/match_rows.h"
#include "text/code_page.h"

namespace mz {
namespace {

// Capture group of each column; 0 leaves the cell empty.
struct ColumnGroups {
    int address;
    int category;
    int title;
    int author;
    int latestChapter;
    int updateTime;
};

ColumnGroups columnGroups(NovelSite site) {
    switch (site) {
    case NovelSite::Biquge:
        return {1, 8, 2, 5, 4, 7};
    case NovelSite::Sogou:
        return {1, 5, 4, 6, 0, 0};
    case NovelSite::E8:
        break;
    }
    return {2, 1, 3, 6, 5, 8};
}

Text group(const PatternObject& pattern, int match, int group) {
    return group == 0 ? Text() : pattern.submatchText(match, group);
}

Text joinLines(std::initializer_list<Text> lines) {
    Text joined;
    for (const Text& line : lines)
        joined += (joined.empty() ? "" : "\r\n") + line;
    return joined + "\r";
}

Text biqugePattern() {
    return joinLines({
        "    <td class=\"odd\"><a href=\"(.*?)\">(.*?)</a></td>",
        "    <td class=\"even\"><a href=\"(.*?)\" target=\"_blank\">(.*?)</a></td>",
        "    <td class=\"odd\">(.*?)</td>",
        "\t<td class=\"even\">(.*?)</td>",
        "    <td class=\"odd\" align=\"center\">(.*?)</td>",
        "    <td class=\"even\" align=\"center\">(.*?)</td>",
    });
}

Text sogouPattern() {
    return "<div class=\"bookbox\"><div class=\"p10\"><div class=\"bookimg\"><a "
           "href=\"(.*?)\"><img src=\"(.*?)\"></a></div><div class=\"bookinfo\"><h4 "
           "class=\"bookname\"><a href=\"(.*?)\">(.*?)</a></h4><div class=\"cat\">" +
           utf8ToGbk("分类：") + "(.*?)</div><div class=\"author\">" + utf8ToGbk("作者：") +
           "(.*?)</div>";
}

Text e8Pattern() {
    auto indent = [](int n) { return Text(static_cast<size_t>(n), ' '); };
    return joinLines({
        indent(36) + "<li><span class=\"s1\">(.*?)</span>",
        indent(24) + "<span class=\"s2\"><a href=\"(.*?)\" target=\"_blank\">",
        indent(28) + "(.*?)</a>",
        indent(20) + "</span>",
        indent(24) + "<span class=\"s3\"><a href=\"(.*?)\"",
        indent(44) + "target=\"_blank\">(.*?)</a>",
        indent(20) + "</span>",
        indent(24) + "<span class=\"s4\">(.*?)</span>",
        indent(24) + "<span class=\"s5\">(.*?)</span>",
        indent(24) + "<span class=\"s6\">(.*?)</span>",
        indent(24) + "<span class=\"s7\">(.*?)</span>",
    });
}

} // namespace

std::optional<NovelSite> novelSiteAt(int index) {
    if (index < 0 || index > 2)
        return std::nullopt;
    return static_cast<NovelSite>(index);
}

WordEncoder novelSearchEncoder(NovelSite site) {
    return site == NovelSite::Sogou ? WordEncoder::PercentEncode : WordEncoder::EncodeUri;
}

SiteRequest novelSearchRequest(NovelSite site, const SiteConfig& config, const Text& encodedWord) {
    switch (site) {
    case NovelSite::Biquge:
        return {config.biquge + "/modules/article/search.php?searchkey=" + encodedWord,
                PageDecoding::CodePage};
    case NovelSite::Sogou:
        return {config.sogou + "/s.php?ie=gbk&s=8916136881085470756&q=" + encodedWord,
                PageDecoding::CodePage};
    case NovelSite::E8:
        break;
    }
    return {config.e8Search + "/search?siteid=" + config.e8SiteId + "&q=" + encodedWord,
            PageDecoding::Utf8};
}

const Text& novelSearchPattern(NovelSite site) {
    static const Text biquge = biqugePattern();
    static const Text sogou = sogouPattern();
    static const Text e8 = e8Pattern();
    return forNovelSite(site, biquge, sogou, e8);
}

std::vector<SearchResultEntry> takeSearchResults(NovelSite site, const Text& page,
                                                 PatternObject& pattern) {
    std::vector<SearchResultEntry> rows;
    const ColumnGroups columns = columnGroups(site);
    appendMatchRows(pattern, novelSearchPattern(site), page, rows, [&](int i) {
        return SearchResultEntry{
            group(pattern, i, columns.address),       group(pattern, i, columns.category),
            group(pattern, i, columns.title),         group(pattern, i, columns.author),
            group(pattern, i, columns.latestChapter), group(pattern, i, columns.updateTime)};
    });
    return rows;
}

Text novelSiteBookSource(NovelSite site) {
    switch (site) {
    case NovelSite::Biquge:
        return "1";
    case NovelSite::Sogou:
        return "2";
    case NovelSite::E8:
        break;
    }
    return "5";
}

} // namespace mz
