#pragma once

// One HTTP exchange on a libcurl easy handle of its own, with the request line
// and header text exactly as the caller built them.

#include "net/transfer_options.h"
#include "text/text.h"

#include <optional>
#include <vector>

namespace mz {

struct WireRequest {
    std::string verb = "GET";
    bool secure = false;
    Text host;
    int port = 80;
    Text path = "/";
    // Header text lines in the order they are sent.
    std::vector<Text> headerLines;
    // Sent as the User-Agent header unless a header line already names one.
    Text agent;
    // Present when the request carries a body (possibly empty).
    std::optional<Bytes> body;
    bool followRedirects = true;
    // host:port of an HTTP proxy; empty for a direct connection.
    Text proxy;
    // Cookies set while following redirects are sent on within the call.
    bool cookieEngine = false;
};

struct WireResponse {
    // False when no request reached a server (no connection, bad address, ...).
    bool sent = false;
    Bytes body;
    // Header block of the last response, status line to the closing blank line.
    Text rawHeaders;
};

WireResponse performTransfer(const WireRequest& request, const TransferOptions& options);

} // namespace mz
