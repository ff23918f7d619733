#include "net/curl_transfer.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <memory>

namespace mz {
namespace {

using Clock = std::chrono::steady_clock;

// curl_global_init is not thread-safe; a function-local static runs it once.
void initialiseCurlOnce() {
    static const bool initialised = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    (void)initialised;
}

using EasyHandle = std::unique_ptr<CURL, decltype(&curl_easy_cleanup)>;
using HeaderList = std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)>;

struct TransferState {
    CURL* handle = nullptr;
    std::size_t maxBodyBytes = 0;
    std::chrono::milliseconds idleTimeout{};
    Bytes body;
    Text rawHeaders;
    bool connected = false;
    Clock::time_point lastActivity;
    curl_off_t lastUploaded = 0;
};

bool startsWithIgnoreCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) ==
                      std::tolower(static_cast<unsigned char>(b));
           });
}

size_t onHeader(char* data, size_t size, size_t count, void* user) {
    auto& state = *static_cast<TransferState*>(user);
    const std::string_view line(data, size * count);
    // Only the last response counts: redirects and interim 1xx answers start over.
    if (line.starts_with("HTTP/")) {
        state.rawHeaders.clear();
        state.body.clear();
    }
    state.rawHeaders.append(line);
    state.lastActivity = Clock::now();
    return line.size();
}

void reserveForContentLength(TransferState& state) {
    curl_off_t length = -1;
    if (curl_easy_getinfo(state.handle, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length) != CURLE_OK ||
        length <= 0)
        return;
    state.body.reserve(std::min(static_cast<std::size_t>(length), state.maxBodyBytes));
}

size_t onBody(char* data, size_t size, size_t count, void* user) {
    auto& state = *static_cast<TransferState*>(user);
    const size_t length = size * count;
    if (state.body.empty())
        reserveForContentLength(state);
    const size_t room = state.maxBodyBytes - state.body.size();
    const size_t taken = std::min(length, room);
    state.body.append(data, taken);
    state.lastActivity = Clock::now();
    // A short count makes curl stop the transfer once the limit is reached.
    return taken;
}

int onProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t uploaded) {
    auto& state = *static_cast<TransferState*>(user);
    const auto now = Clock::now();
    if (!state.connected) {
        curl_off_t connectTime = 0;
        curl_easy_getinfo(state.handle, CURLINFO_CONNECT_TIME_T, &connectTime);
        if (connectTime <= 0)
            return 0;
        state.connected = true;
        state.lastActivity = now;
    }
    if (uploaded != state.lastUploaded) {
        state.lastUploaded = uploaded;
        state.lastActivity = now;
    }
    return now - state.lastActivity > state.idleTimeout ? 1 : 0;
}

bool namesHeader(const std::vector<Text>& lines, std::string_view name) {
    return std::any_of(lines.begin(), lines.end(), [name](const Text& line) {
        return startsWithIgnoreCase(line, name) && line.size() > name.size() &&
               line[name.size()] == ':';
    });
}

// Control bytes, spaces and bytes above ASCII cannot stand in a request line;
// they go out percent-encoded, everything else as the address has it. (curl
// would encode them in the path only, in lower case, and leave the query raw.)
Text requestTarget(std::string_view path) {
    static constexpr char hex[] = "0123456789ABCDEF";
    Text target;
    target.reserve(path.size());
    for (char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte >= 0x7F) {
            target.push_back('%');
            target.push_back(hex[byte >> 4]);
            target.push_back(hex[byte & 0x0F]);
        } else {
            target.push_back(c);
        }
    }
    return target;
}

Text urlOf(const WireRequest& request) {
    Text url = request.secure ? "https://" : "http://";
    url += request.host;
    // Port 0 means the scheme's default, as with the platform's own client.
    if (request.port != 0)
        url += ":" + std::to_string(request.port);
    url += requestTarget(request.path);
    return url;
}

// The header text goes out line for line. curl's own Accept, Content-Type and
// Expect lines are switched off so nothing is sent that the text lacks; a line
// with an empty value keeps its place (curl drops "Name:" but sends "Name;" as
// "Name:").
HeaderList headerListOf(const WireRequest& request) {
    curl_slist* list = nullptr;
    auto add = [&list](const Text& line) {
        if (curl_slist* grown = curl_slist_append(list, line.c_str()))
            list = grown;
    };
    for (const Text& line : request.headerLines) {
        const size_t colon = line.find(':');
        const bool blankValue = colon != Text::npos && colon > 0 &&
                                line.find_first_not_of(" \t", colon + 1) == Text::npos;
        add(blankValue ? line.substr(0, colon) + ";" : line);
    }
    for (std::string_view own : {"Accept", "Content-Type", "Expect"}) {
        if (!namesHeader(request.headerLines, own))
            add(Text(own) + ":");
    }
    return HeaderList(list, curl_slist_free_all);
}

void setMethodAndBody(CURL* handle, const WireRequest& request) {
    if (request.verb == "HEAD") {
        // A HEAD answer has no body to wait for; curl only knows that from NOBODY.
        curl_easy_setopt(handle, CURLOPT_NOBODY, 1L);
        return;
    }
    if (request.body) {
        curl_easy_setopt(handle, CURLOPT_POSTFIELDSIZE_LARGE,
                         static_cast<curl_off_t>(request.body->size()));
        curl_easy_setopt(handle, CURLOPT_POSTFIELDS, request.body->data());
    }
    // POST stays curl's own so redirects turn it into GET as browsers do.
    if (request.verb != "POST" && (request.body || request.verb != "GET"))
        curl_easy_setopt(handle, CURLOPT_CUSTOMREQUEST, request.verb.c_str());
}

void setConnection(CURL* handle, const WireRequest& request, const TransferOptions& options) {
    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(handle, CURLOPT_BUFFERSIZE, 512L * 1024L);
    curl_easy_setopt(handle, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
    curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(handle, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(handle, CURLOPT_PATH_AS_IS, 1L);
    curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, request.followRedirects ? 1L : 0L);
    curl_easy_setopt(handle, CURLOPT_MAXREDIRS, 30L);
    curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT_MS,
                     static_cast<long>(options.connectTimeout.count()));
    // An empty proxy and no-proxy list keep the environment's proxy settings out.
    curl_easy_setopt(handle, CURLOPT_PROXY, request.proxy.c_str());
    curl_easy_setopt(handle, CURLOPT_NOPROXY, "");
    curl_easy_setopt(handle, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
    if (!options.caFile.empty())
        curl_easy_setopt(handle, CURLOPT_CAINFO, options.caFile.c_str());
    if (request.cookieEngine)
        curl_easy_setopt(handle, CURLOPT_COOKIEFILE, "");
    if (!request.agent.empty() && !namesHeader(request.headerLines, "User-Agent"))
        curl_easy_setopt(handle, CURLOPT_USERAGENT, request.agent.c_str());
}

void setCallbacks(CURL* handle, TransferState& state) {
    curl_easy_setopt(handle, CURLOPT_HEADERFUNCTION, onHeader);
    curl_easy_setopt(handle, CURLOPT_HEADERDATA, &state);
    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, onBody);
    curl_easy_setopt(handle, CURLOPT_WRITEDATA, &state);
    curl_easy_setopt(handle, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(handle, CURLOPT_XFERINFOFUNCTION, onProgress);
    curl_easy_setopt(handle, CURLOPT_XFERINFODATA, &state);
}

} // namespace

WireResponse performTransfer(const WireRequest& request, const TransferOptions& options) {
    initialiseCurlOnce();
    EasyHandle handle(curl_easy_init(), curl_easy_cleanup);
    if (!handle)
        return {};
    TransferState state;
    state.handle = handle.get();
    state.maxBodyBytes = options.maxBodyBytes;
    state.idleTimeout = options.idleTimeout;

    const Text url = urlOf(request);
    const HeaderList headers = headerListOf(request);
    curl_easy_setopt(handle.get(), CURLOPT_URL, url.c_str());
    curl_easy_setopt(handle.get(), CURLOPT_HTTPHEADER, headers.get());
    setMethodAndBody(handle.get(), request);
    setConnection(handle.get(), request, options);
    setCallbacks(handle.get(), state);

    // The outcome is read from what arrived, not from the result code: a body
    // cut short is still returned as far as it came.
    curl_easy_perform(handle.get());

    long requestSize = 0;
    curl_easy_getinfo(handle.get(), CURLINFO_REQUEST_SIZE, &requestSize);
    WireResponse response;
    response.sent = requestSize > 0;
    response.body = std::move(state.body);
    response.rawHeaders = std::move(state.rawHeaders);
    return response;
}

} // namespace mz
