#pragma once

// The one loop every page-taking operation runs: a pattern pass over a page and
// a row made of each match.

#include "text/pattern_object.h"

#include <vector>

namespace mz {

// Runs regex over page and appends makeRow(match) for each match, in page order;
// matches count from 1.
template <class Row, class MakeRow>
void appendMatchRows(PatternObject& pattern, const Text& regex, const Text& page,
                     std::vector<Row>& rows, MakeRow makeRow) {
    pattern.search(regex, page);
    const int count = pattern.matchCount();
    for (int i = 1; i <= count; ++i)
        rows.push_back(makeRow(i));
}

} // namespace mz
