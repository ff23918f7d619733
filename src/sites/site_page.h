#pragma once

#include "sites/site_request.h"

namespace mz {

// Fetches the request's address and turns the body into text as the site
// needs it (fetchPage or fetchPageUtf8). Empty when the fetch failed.
Text fetchSitePage(const SiteRequest& request);

} // namespace mz
