#pragma once

// Synchronous page fetching: one request per call on a connection of its own,
// the whole body returned. Failures give an empty result; HTTP status codes are
// not examined, so an error page comes back as the body. Safe to call from a
// worker thread; windows call these off the user-interface thread.
//
// Pointer arguments are in/out or out parameters; null means omitted. They are
// written only when a request reached a server.

#include "text/text.h"

namespace mz {

// method 1 sends POST, every other value GET; any method but 0 sends a body
// (postBytes, or postText when postBytes is empty). cookies is sent and comes
// back merged with what the response set (newCookies); headers comes back as
// the whole header text sent; location comes back as the last "Location:"
// value, else the raw header block; rawHeaders is the last response's header
// block. proxy (host:port) is used for plain-HTTP addresses.
Bytes httpRequest(const Text& address, int method = 0, const Text& postText = {},
                  Text* cookies = nullptr, Text* newCookies = nullptr, Text* headers = nullptr,
                  Text* location = nullptr, bool noRedirect = false, Bytes* postBytes = nullptr,
                  const Text& proxy = {}, Text* rawHeaders = nullptr);

// method indexes GET, POST, HEAD, PUT, OPTIONS, DELETE, TRACE, CONNECT (others
// mean GET). Passing cookies, even empty ones, turns the call's own cookie
// handling off; with mergeCookies the merged list goes to cookies and
// newCookies. proxy is used for plain and secure addresses alike.
Bytes httpRequestEx(const Text& address, int method = 0, const Text& postText = {},
                    Text* cookies = nullptr, Text* newCookies = nullptr, Text* headers = nullptr,
                    Text* rawHeaders = nullptr, bool noRedirect = false, Bytes* postBytes = nullptr,
                    const Text& proxy = {}, bool mergeCookies = true);

// A GET of the address; the body up to its first zero byte, as code-page text.
Text fetchPage(const Text& address);

// A GET of the address; the UTF-8 body converted to code-page text.
Text fetchPageUtf8(const Text& address);

// A body taken as code-page text, as fetchPage does: up to the first zero byte.
Text pageText(Bytes body);

} // namespace mz
