#pragma once

// One page request of a site: the address and how its body becomes text.

#include "text/text.h"

namespace mz {

enum class PageDecoding {
    CodePage, // body bytes up to the first zero byte, taken as GBK (fetchPage)
    Utf8,     // body decoded from UTF-8 (fetchPageUtf8)
};

// How a site wants its search word encoded.
enum class WordEncoder {
    EncodeUri,     // jsEncodeUri: UTF-8 escapes, "&", "=", "?", "#" kept
    PercentEncode, // percentEncode without options: every GBK byte escaped
};

struct SiteRequest {
    Text address;
    PageDecoding decoding = PageDecoding::CodePage;

    bool operator==(const SiteRequest&) const = default;
};

} // namespace mz
