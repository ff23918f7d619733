#include "net/http_request.h"

#include "net/send_request.h"
#include "text/code_page.h"

namespace mz {

Bytes httpRequest(const Text& address, int method, const Text& postText, Text* cookies,
                  Text* newCookies, Text* headers, Text* location, bool noRedirect,
                  Bytes* postBytes, const Text& proxy, Text* rawHeaders) {
    return sendRequest({address, method, postText, cookies, newCookies, headers, location,
                        noRedirect, postBytes, proxy, rawHeaders});
}

Bytes httpRequestEx(const Text& address, int method, const Text& postText, Text* cookies,
                    Text* newCookies, Text* headers, Text* rawHeaders, bool noRedirect,
                    Bytes* postBytes, const Text& proxy, bool mergeCookies) {
    return sendRequestEx({address, method, postText, cookies, newCookies, headers, rawHeaders,
                          noRedirect, postBytes, proxy, mergeCookies});
}

Text fetchPage(const Text& address) {
    return pageText(httpRequest(address));
}

Text fetchPageUtf8(const Text& address) {
    return utf8ToCodePage(httpRequest(address));
}

Text pageText(Bytes body) {
    const size_t nul = body.find('\0');
    if (nul != Bytes::npos)
        body.resize(nul);
    return body;
}

} // namespace mz
