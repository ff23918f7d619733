#include "net/send_request.h"

#include "net/cookie_list.h"
#include "net/curl_transfer.h"
#include "net/header_text.h"
#include "net/url.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace mz {
namespace {

constexpr std::string_view defaultAgent =
    "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1; Zmoq; .NET CLR 2.0.50727; .NET CLR "
    "3.0.04506.648; .NET CLR 3.5.21022)";
constexpr std::string_view defaultAgentEx = "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";
constexpr std::string_view formContentType = "Content-Type: application/x-www-form-urlencoded";

constexpr std::array<std::string_view, 8> verbsEx = {"GET",     "POST",   "HEAD",  "PUT",
                                                     "OPTIONS", "DELETE", "TRACE", "CONNECT"};

Text valueOr(const Text* given) {
    return given ? *given : Text();
}

template <typename T> void writeBack(T* target, T value) {
    if (target)
        *target = std::move(value);
}

bool lacks(std::string_view text, std::string_view part) {
    return find(text, part) == -1;
}

bool startsWithLower(std::string_view text, std::string_view lowerPrefix) {
    if (text.size() < lowerPrefix.size())
        return false;
    for (size_t i = 0; i < lowerPrefix.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) != lowerPrefix[i])
            return false;
    }
    return true;
}

// A CR or LF in an address would end up inside the Referer line and split it
// into headers of the address's making; such an address is never requested.
bool isRequestable(std::string_view address) {
    return std::none_of(address.begin(), address.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7F;
    });
}

// The agent named in the headers, or the default. The fallback takes the value
// of the first header line, so a line break would end up inside the agent; the
// agent stops there.
Text agentFrom(const Text& headers, std::string_view fallbackAgent, bool matchCase) {
    if (findIgnoreCase(headers, "User-Agent:") == -1)
        return Text(fallbackAgent);
    Text agent = trim(textBetween(headers + "\r\n", "User-Agent:", "\r\n", 1, matchCase));
    if (agent.empty())
        agent = headerValue(headers);
    return agent.substr(0, agent.find_first_of("\r\n"));
}

// Lines of the header text; CR LF, a lone CR or a lone LF ends a line, and
// empty lines are dropped since one would end the request head early.
std::vector<Text> headerLinesOf(std::string_view headers) {
    std::vector<Text> lines;
    size_t from = 0;
    while (from < headers.size()) {
        size_t end = headers.find_first_of("\r\n", from);
        if (end == std::string_view::npos)
            end = headers.size();
        if (end > from)
            lines.emplace_back(headers.substr(from, end - from));
        from = end + 1;
    }
    return lines;
}

void addDefaultHeaders(Text& headers, const Text& address, const Text& cookies) {
    if (lacks(headers, "Referer:"))
        headers += (headers.empty() ? "Referer: " : "\r\nReferer: ") + address;
    if (lacks(headers, "Accept:"))
        headers += "\r\nAccept: */*";
    if (lacks(headers, "Accept-Language:"))
        headers += "\r\nAccept-Language: zh-cn";
    if (lacks(headers, "Content-Type:"))
        headers += "\r\n" + Text(formContentType);
    if (!cookies.empty())
        headers += "\r\nCookie: " + cookies;
}

void addDefaultHeadersEx(Text& headers, const Text& address, bool formBody, const Text& cookies) {
    if (headers.empty())
        headers = "Accept: */*";
    else if (lacks(headers, "Accept:"))
        headers += "\r\nAccept: */*";
    if (lacks(headers, "Referer:"))
        headers += "\r\nReferer: " + address;
    if (lacks(headers, "Accept-Language:"))
        headers += "\r\nAccept-Language: zh-cn";
    if (formBody && lacks(headers, "Content-Type:"))
        headers += "\r\n" + Text(formContentType);
    if (!cookies.empty())
        headers += (lacks(cookies, "Cookie:") ? "\r\nCookie: " : "\r\n") + cookies;
}

WireRequest wireRequestFor(const Text& address, bool secure) {
    WireRequest wire;
    wire.secure = secure;
    wire.host = urlHost(address);
    wire.port = urlPort(address);
    wire.path = urlPath(address);
    return wire;
}

// Value of the last line holding "Location:", else what the caller passed,
// else the whole header block.
Text locationFrom(const Text& rawHeaders, Text location) {
    for (const Text& line : split(rawHeaders, "\r\n")) {
        if (find(line, "Location:") != -1)
            location = headerValue(line);
    }
    return location.empty() ? rawHeaders : location;
}

} // namespace

Bytes sendRequest(const RequestParams& params, const TransferOptions& options) {
    if (!isRequestable(params.address))
        return {};
    Text cookies = valueOr(params.cookies);
    Text headers = valueOr(params.headers);
    Bytes postBytes = params.postBytes ? *params.postBytes : Bytes();
    const bool secure = startsWithLower(params.address, "https");

    WireRequest wire = wireRequestFor(params.address, secure);
    wire.verb = params.method == 1 ? "POST" : "GET";
    wire.agent = agentFrom(headers, defaultAgent, false);
    addDefaultHeaders(headers, params.address, cookies);
    wire.headerLines = headerLinesOf(headers);
    if (params.method != 0) {
        if (postBytes.empty())
            postBytes = params.postText;
        wire.body = postBytes;
    }
    wire.followRedirects = !params.noRedirect;
    // The proxy serves plain HTTP only; secure addresses connect directly.
    if (!secure)
        wire.proxy = params.proxy;

    WireResponse response = performTransfer(wire, options);
    if (!response.sent)
        return {};

    Text newCookies = setCookieList(response.rawHeaders);
    const Text location = locationFrom(response.rawHeaders, valueOr(params.location));
    mergeCookieLists(cookies, newCookies);
    writeBack(params.cookies, std::move(cookies));
    writeBack(params.newCookies, std::move(newCookies));
    writeBack(params.headers, std::move(headers));
    writeBack(params.location, location);
    writeBack(params.postBytes, std::move(postBytes));
    writeBack(params.rawHeaders, std::move(response.rawHeaders));
    return std::move(response.body);
}

Bytes sendRequestEx(const RequestParamsEx& params, const TransferOptions& options) {
    if (!isRequestable(params.address))
        return {};
    const bool cookiesPassed = params.cookies != nullptr;
    Text cookies = valueOr(params.cookies);
    Text headers = valueOr(params.headers);
    Bytes postBytes = params.postBytes ? *params.postBytes : Bytes();
    const int method = params.method < 0 || params.method > 7 ? 0 : params.method;
    const bool secure = startsWithLower(params.address, "https://");

    WireRequest wire = wireRequestFor(params.address, secure);
    wire.verb = verbsEx[static_cast<size_t>(method)];
    wire.agent = agentFrom(headers, defaultAgentEx, true);
    addDefaultHeadersEx(headers, params.address, method == 1, cookies);
    wire.headerLines = headerLinesOf(headers);
    if (method != 0) {
        if (postBytes.empty())
            postBytes = params.postText;
        wire.body = postBytes;
    }
    wire.followRedirects = !params.noRedirect;
    wire.proxy = params.proxy;
    // Without a cookie list of the caller's, cookies set along redirects are kept
    // for the rest of the call.
    wire.cookieEngine = !cookiesPassed;

    WireResponse response = performTransfer(wire, options);
    if (!response.sent)
        return {};

    Text newCookies = setCookieListEx(response.rawHeaders);
    if (cookiesPassed && params.mergeCookies)
        newCookies = mergeCookieListsEx(cookies, newCookies);
    writeBack(params.cookies, std::move(cookies));
    writeBack(params.newCookies, std::move(newCookies));
    writeBack(params.headers, std::move(headers));
    writeBack(params.postBytes, std::move(postBytes));
    writeBack(params.rawHeaders, std::move(response.rawHeaders));
    return std::move(response.body);
}

} // namespace mz
