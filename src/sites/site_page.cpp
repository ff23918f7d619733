#include "sites/site_page.h"

#include "net/http_request.h"

namespace mz {

Text fetchSitePage(const SiteRequest& request) {
    return request.decoding == PageDecoding::Utf8 ? fetchPageUtf8(request.address)
                                                  : fetchPage(request.address);
}

} // namespace mz
