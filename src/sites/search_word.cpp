#include "sites/search_word.h"

#include "text/url_encoding.h"

namespace mz {

Text encodeSearchWord(WordEncoder encoder, const Text& word) {
    if (encoder == WordEncoder::PercentEncode)
        return percentEncode(word);
    return jsEncodeUri(word);
}

} // namespace mz
