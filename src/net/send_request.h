#pragma once

// The two request operations with their parameters gathered in records, and
// the transfer limits explicit. Null pointers stand for omitted arguments.

#include "net/transfer_options.h"
#include "text/text.h"

namespace mz {

struct RequestParams {
    Text address{};
    int method = 0;
    Text postText{};
    Text* cookies = nullptr;
    Text* newCookies = nullptr;
    Text* headers = nullptr;
    Text* location = nullptr;
    bool noRedirect = false;
    Bytes* postBytes = nullptr;
    Text proxy{};
    Text* rawHeaders = nullptr;
};

struct RequestParamsEx {
    Text address{};
    int method = 0;
    Text postText{};
    Text* cookies = nullptr;
    Text* newCookies = nullptr;
    Text* headers = nullptr;
    Text* rawHeaders = nullptr;
    bool noRedirect = false;
    Bytes* postBytes = nullptr;
    Text proxy{};
    bool mergeCookies = true;
};

// In/out and out parameters are written only when a request reached a server.
Bytes sendRequest(const RequestParams& params, const TransferOptions& options = {});
Bytes sendRequestEx(const RequestParamsEx& params, const TransferOptions& options = {});

} // namespace mz
