#include "site_simulator.h"

#include "download_site_pages.h"
#include "long_line_http_server.h"
#include "novel_site_pages.h"
#include "query_string.h"
#include "speech_answer.h"
#include "text/code_page.h"

#include <httplib.h>

#include <algorithm>
#include <chrono>

namespace mz::sim {
namespace {

const char* const htmlGbk = "text/html; charset=gbk";
const char* const htmlUtf8 = "text/html; charset=utf-8";

// The novel searches of 搜狗小说网 carry this fixed engine id.
const char* const sogouEngineId = "8916136881085470756";

const char* const speechPath = "/V2/Http.svc/Speak";

std::string gbkToUtf8Bytes(const std::string& gbk) {
    return wideToMultiByte(multiByteToWide(gbk, codePageGbk), codePageUtf8);
}

std::string queryValue(const httplib::Request& request, const std::string& name) {
    auto query = parseQuery(request.target);
    auto it = query.find(name);
    return it == query.end() ? std::string() : it->second;
}

// Sites trim the word they are given, as their forms do.
std::string trimmedWord(std::string word) {
    auto notSpace = [](unsigned char c) { return c != ' '; };
    word.erase(word.begin(), std::find_if(word.begin(), word.end(), notSpace));
    word.erase(std::find_if(word.rbegin(), word.rend(), notSpace).base(), word.end());
    return word;
}

void sendPage(httplib::Response& response, const std::string& body, const char* type) {
    response.set_content(body, type);
}

int chapterNumber(const httplib::Request& request, size_t group) {
    return std::stoi(request.matches[group].str());
}

} // namespace

SiteSimulator::SiteSimulator(BookCatalogue catalogue)
    : e8SiteId(SiteConfig().e8SiteId), speechAppId(SiteConfig().speechAppId),
      catalogue_(std::move(catalogue)), server_(std::make_unique<httplib::Server>()) {
    // The library's default also sets SO_REUSEPORT, which lets a second server
    // share a taken port silently; a simulator must own its port.
    server_->set_socket_options([](socket_t socket) {
        int yes = 1;
        setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&yes),
                   sizeof yes);
    });
    server_->set_pre_routing_handler([this](const httplib::Request& request, httplib::Response&) {
        record(request.target);
        return httplib::Server::HandlerResponse::Unhandled;
    });
    addNovelSiteRoutes();
    addDownloadSiteRoutes();
    addSpeechRoute();
    speechServer_ = std::make_unique<LongLineHttpServer>([this](const PlainRequest& request) {
        record(request.target);
        const std::string path = request.target.substr(0, request.target.find('?'));
        if (path != speechPath)
            return PlainResponse{404, "text/plain", "Not Found"};
        if (request.method != "GET" && request.method != "HEAD")
            return PlainResponse{405, "text/plain", "Method Not Allowed"};
        SpeechAnswer answer = speechAnswer(request.target, speechAppId);
        return PlainResponse{answer.status, std::move(answer.contentType), std::move(answer.body)};
    });
}

SiteSimulator::~SiteSimulator() {
    stop();
}

bool SiteSimulator::start(int port, int speechPort) {
    if (thread_.joinable() || !speechServer_->start(speechPort))
        return false;
    if (port == 0) {
        port_ = server_->bind_to_any_port("127.0.0.1");
    } else {
        port_ = server_->bind_to_port("127.0.0.1", port) ? port : -1;
    }
    if (port_ <= 0) {
        speechServer_->stop();
        return false;
    }
    listenEnded_ = false;
    thread_ = std::thread([this] {
        server_->listen_after_bind();
        listenEnded_ = true;
    });
    // stop() only reaches a server that is already running.
    while (!server_->is_running() && !listenEnded_)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    if (listenEnded_)
        speechServer_->stop();
    return !listenEnded_;
}

void SiteSimulator::stop() {
    speechServer_->stop();
    if (!thread_.joinable())
        return;
    server_->stop();
    thread_.join();
}

std::string SiteSimulator::baseAddress() const {
    return "http://127.0.0.1:" + std::to_string(port_);
}

int SiteSimulator::speechPort() const {
    return speechServer_->port();
}

std::string SiteSimulator::speechBaseAddress() const {
    return "http://127.0.0.1:" + std::to_string(speechPort());
}

SiteConfig SiteSimulator::siteConfig() const {
    SiteConfig config = SiteConfig::allAt(baseAddress());
    config.speechBase = speechBaseAddress();
    config.e8SiteId = e8SiteId;
    config.speechAppId = speechAppId;
    return config;
}

std::vector<std::string> SiteSimulator::requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

void SiteSimulator::clearRequests() {
    std::lock_guard lock(mutex_);
    requests_.clear();
}

void SiteSimulator::record(const std::string& target) {
    {
        std::lock_guard lock(mutex_);
        requests_.push_back(target);
    }
    std::this_thread::sleep_for(answerDelay_.load());
}

const SampleBook* SiteSimulator::book(const httplib::Request& request) const {
    return catalogue_.byId(std::stoi(request.matches[1].str()));
}

void SiteSimulator::addNovelSiteRoutes() {
    using httplib::Request;
    using httplib::Response;
    // 笔趣阁: the word arrives UTF-8 escaped, the pages go out in GBK.
    server_->Get("/modules/article/search.php", [this](const Request& req, Response& res) {
        auto found = catalogue_.find(trimmedWord(queryValue(req, "searchkey")));
        sendPage(res, biqugeSearchPage(found), htmlGbk);
    });
    server_->Get(R"(/bqg/(\d{1,9})/)", [this](const Request& req, Response& res) {
        if (const SampleBook* b = book(req))
            sendPage(res, biqugeIndexPage(*b), htmlGbk);
        else
            res.status = 404;
    });
    server_->Get(R"(/bqg/(\d{1,9})/(\d{1,9})\.html)", [this](const Request& req, Response& res) {
        if (const SampleBook* b = book(req))
            sendPage(res, biqugeChapterPage(*b, chapterNumber(req, 2)), htmlGbk);
        else
            res.status = 404;
    });
    // 搜狗小说网: the word arrives as escaped GBK bytes.
    server_->Get("/s.php", [this](const Request& req, Response& res) {
        BookList found;
        if (queryValue(req, "ie") == "gbk" && queryValue(req, "s") == sogouEngineId)
            found = catalogue_.find(gbkToUtf8Bytes(trimmedWord(queryValue(req, "q"))));
        sendPage(res, sogouSearchPage(found), htmlGbk);
    });
    server_->Get(R"(/sg/(\d{1,9})/)", [this](const Request& req, Response& res) {
        if (const SampleBook* b = book(req))
            sendPage(res, sogouIndexPage(*b), htmlGbk);
        else
            res.status = 404;
    });
    server_->Get(R"(/sg/(\d{1,9})/(\d{1,9})\.html)", [this](const Request& req, Response& res) {
        if (const SampleBook* b = book(req))
            sendPage(res, sogouChapterPage(*b, chapterNumber(req, 2)), htmlGbk);
        else
            res.status = 404;
    });
    // E8中文网: a search service in UTF-8 that answers only for its site id.
    server_->Get("/search", [this](const Request& req, Response& res) {
        BookList found;
        if (queryValue(req, "siteid") == e8SiteId)
            found = catalogue_.find(trimmedWord(queryValue(req, "q")));
        sendPage(res, e8SearchPage(found, baseAddress()), htmlUtf8);
    });
    server_->Get(R"(/e8/(\d{1,9})/)", [this](const Request& req, Response& res) {
        if (const SampleBook* b = book(req))
            sendPage(res, e8IndexPage(*b), htmlUtf8);
        else
            res.status = 404;
    });
    server_->Get(R"(/e8/(\d{1,9})/(\d{1,9})\.html)", [this](const Request& req, Response& res) {
        if (const SampleBook* b = book(req))
            sendPage(res, e8ChapterPage(*b, chapterNumber(req, 2)), htmlUtf8);
        else
            res.status = 404;
    });
}

void SiteSimulator::addDownloadSiteRoutes() {
    using httplib::Request;
    using httplib::Response;
    // 下书网: UTF-8 throughout.
    server_->Get("/search.html", [this](const Request& req, Response& res) {
        BookList found;
        if (queryValue(req, "searchtype") == "all")
            found = catalogue_.find(trimmedWord(queryValue(req, "searchkey")));
        sendPage(res, xiashuSearchPage(found), htmlUtf8);
    });
    server_->Get(R"(/(\d{1,9})/down)", [this](const Request& req, Response& res) {
        if (const SampleBook* b = book(req))
            sendPage(res, xiashuDownPage(*b, baseAddress()), htmlUtf8);
        else
            res.status = 404;
    });
    server_->Get(R"(/xs/files/(\d{1,9})\.(bak\.)?txt)", [this](const Request& req, Response& res) {
        if (const SampleBook* b = book(req))
            res.set_content(b->plainText(), "text/plain; charset=utf-8");
        else
            res.status = 404;
    });
    // 奇书网: GBK throughout; only titles are searched, the word marked in red.
    server_->Get("/search.asp", [this](const Request& req, Response& res) {
        std::string word = gbkToUtf8Bytes(trimmedWord(queryValue(req, "word")));
        sendPage(res, qishuSearchPage(catalogue_.findByTitle(word), word), htmlGbk);
    });
    server_->Get(R"(/qishu/(\d{1,9})\.html)", [this](const Request& req, Response& res) {
        if (const SampleBook* b = book(req))
            sendPage(res, qishuBookPage(*b, baseAddress()), htmlGbk);
        else
            res.status = 404;
    });
    server_->Get(R"(/qishu/files/(\d{1,9})\.txt)", [this](const Request& req, Response& res) {
        if (const SampleBook* b = book(req))
            res.set_content(toGbk(b->plainText()), "text/plain; charset=gbk");
        else
            res.status = 404;
    });
}

void SiteSimulator::addSpeechRoute() {
    server_->Get(speechPath, [this](const httplib::Request& req, httplib::Response& res) {
        SpeechAnswer answer = speechAnswer(req.target, speechAppId);
        res.status = answer.status;
        res.set_content(std::move(answer.body), answer.contentType);
    });
}

} // namespace mz::sim
