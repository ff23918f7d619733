#include "sites/download_search.h"

#include "sites/match_rows.h"

namespace mz {
namespace {

// Appends a link row per match: 地址 from addressGroup, 模式 from modeGroup.
void appendLinks(const Text& linkPattern, const Text& page, int addressGroup, int modeGroup,
                 PatternObject& pattern, std::vector<DownloadLinkEntry>& rows) {
    appendMatchRows(pattern, linkPattern, page, rows, [&](int i) {
        return DownloadLinkEntry{pattern.submatchText(i, addressGroup),
                                 pattern.submatchText(i, modeGroup)};
    });
}

} // namespace

std::optional<DownloadSite> downloadSiteAt(int index) {
    if (index < 0 || index > 1)
        return std::nullopt;
    return static_cast<DownloadSite>(index);
}

WordEncoder downloadSearchEncoder(DownloadSite site) {
    return site == DownloadSite::Xiashu ? WordEncoder::EncodeUri : WordEncoder::PercentEncode;
}

SiteRequest downloadSearchRequest(DownloadSite site, const SiteConfig& config,
                                  const Text& encodedWord) {
    if (site == DownloadSite::Xiashu) {
        return {config.xiashu + "/search.html?searchkey=" + encodedWord + "&searchtype=all",
                PageDecoding::Utf8};
    }
    return {config.qishu + "/search.asp?word=" + encodedWord + "&m=0&s=0&x=20&y=4",
            PageDecoding::CodePage};
}

const Text& downloadSearchPattern(DownloadSite site) {
    static const Text xiashu =
        "<a href=\"(.*?)\" target=\"_blank\"><img src=\"(.*?)\" data-original=\"(.*?)\" "
        "alt=\"(.*?)\" title=\"(.*?)\" width=\"(.*?)\" height=\"(.*?)\" /></a>";
    static const Text qishu = "\t\t\t<div class=\"searchTopic\">(.*?)<a href=\"(.*?)\">(.*?)<font "
                              "color=\"red\">(.*?)</font>(.*?)</a></div>";
    return site == DownloadSite::Xiashu ? xiashu : qishu;
}

std::vector<DownloadResultEntry> takeDownloadResults(DownloadSite site, const Text& page,
                                                     PatternObject& pattern) {
    std::vector<DownloadResultEntry> rows;
    appendMatchRows(pattern, downloadSearchPattern(site), page, rows, [&](int i) {
        if (site == DownloadSite::Xiashu)
            return DownloadResultEntry{pattern.submatchText(i, 1), pattern.submatchText(i, 4)};
        return DownloadResultEntry{pattern.submatchText(i, 2), pattern.submatchText(i, 3) +
                                                                   pattern.submatchText(i, 4) +
                                                                   pattern.submatchText(i, 5)};
    });
    return rows;
}

std::optional<Text> xiashuBookId(const Text& resultAddress) {
    std::vector<Text> pieces = split(resultAddress, "id=");
    if (pieces.size() < 2)
        return std::nullopt;
    return pieces[1];
}

SiteRequest xiashuLinksRequest(const SiteConfig& config, const Text& bookId) {
    return {config.xiashu + "/" + bookId + "/down", PageDecoding::Utf8};
}

SiteRequest qishuLinksRequest(const SiteConfig& config, const Text& resultAddress) {
    return {config.qishu + resultAddress, PageDecoding::CodePage};
}

const Text& xiashuZipLinkPattern() {
    static const Text pattern = "<span class=\"zip-download\" title=\"(.*?)\"><a href=\"(.*?)\"";
    return pattern;
}

const Text& xiashuTextLinkPattern() {
    static const Text pattern = "<span class=\"txt-download\" title=\"(.*?)\"><a rel=\"external "
                                "nofollow\" href=\"(.*?)\"";
    return pattern;
}

const Text& qishuLinkPattern() {
    static const Text pattern =
        "<img src=\"(.*?)\" border=\"(.*?)\" align=\"(.*?)\" /><a href=\"(.*?)\" "
        "target=\"_blank\" rel=\"nofollow\"><b>(.*?)</b></a><br />";
    return pattern;
}

std::vector<DownloadLinkEntry> takeDownloadLinks(DownloadSite site, const Text& page,
                                                 PatternObject& pattern) {
    std::vector<DownloadLinkEntry> rows;
    if (site == DownloadSite::Xiashu) {
        appendLinks(xiashuZipLinkPattern(), page, 2, 1, pattern, rows);
        appendLinks(xiashuTextLinkPattern(), page, 2, 1, pattern, rows);
    } else {
        appendLinks(qishuLinkPattern(), page, 4, 5, pattern, rows);
    }
    return rows;
}

} // namespace mz
