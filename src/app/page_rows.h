#pragma once

// A site page fetched on a worker thread and the list rows taken from it: the
// worker half of every flow that fills a list from a page.

#include "app/list_filler.h"
#include "sites/site_page.h"
#include "text/pattern_object.h"

#include <utility>
#include <vector>

namespace mz {

struct PageRows {
    Text page;
    ListFiller::Rows rows;
};

// Fetches the page, takes the site's entries from it and makes a list row of
// each. The pattern object is its own, so a later flow never shares its matches.
template <class Site, class Entry, class ToRow>
PageRows fetchPageRows(const SiteRequest& request, Site site,
                       std::vector<Entry> (*take)(Site, const Text&, PatternObject&), ToRow toRow) {
    PageRows outcome;
    outcome.page = fetchSitePage(request);
    PatternObject pattern;
    for (Entry& entry : take(site, outcome.page, pattern))
        outcome.rows.push_back(toRow(std::move(entry)));
    return outcome;
}

} // namespace mz
