#pragma once

// The novel search of the three novel sites: request addresses, the patterns
// that cut a result page into rows, and the column mapping of each site.

#include "sites/search_result_entry.h"
#include "sites/site_config.h"
#include "sites/site_request.h"

#include <optional>
#include <vector>

namespace mz {

class PatternObject;

// Index of the site in the site chooser (组合框1).
enum class NovelSite { Biquge = 0, Sogou = 1, E8 = 2 };

std::optional<NovelSite> novelSiteAt(int index);

// The one of three values that belongs to the site.
template <class T>
const T& forNovelSite(NovelSite site, const T& biquge, const T& sogou, const T& e8) {
    switch (site) {
    case NovelSite::Biquge:
        return biquge;
    case NovelSite::Sogou:
        return sogou;
    case NovelSite::E8:
        break;
    }
    return e8;
}

WordEncoder novelSearchEncoder(NovelSite site);

// Base address + path and query + the already encoded word, nothing after it.
SiteRequest novelSearchRequest(NovelSite site, const SiteConfig& config, const Text& encodedWord);

// The site's result pattern, byte for byte.
const Text& novelSearchPattern(NovelSite site);

// Runs the site's pattern over the page; one row per match, in page order.
std::vector<SearchResultEntry> takeSearchResults(NovelSite site, const Text& page,
                                                 PatternObject& pattern);

// The book-source code handed to the reader for a result opened from this site.
Text novelSiteBookSource(NovelSite site);

} // namespace mz
