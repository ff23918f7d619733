#pragma once

#include "sites/site_request.h"

namespace mz {

// The search word as the site expects it in its query: jsEncodeUri, or
// percentEncode over the GBK bytes. The word goes in unchanged (no trimming).
Text encodeSearchWord(WordEncoder encoder, const Text& word);

} // namespace mz
