// Serves the fetch benchmark's pages on 127.0.0.1 and prints the port it took.
//   /page  a 20 KB page of mixed ASCII and GBK text
//   /big   a body of 200 MB, streamed

#include <httplib.h>

#include <cstdio>
#include <string>

namespace {

constexpr std::size_t pageBytes = 20 * 1024;
constexpr std::size_t bigBytes = 200 * 1000 * 1000;

std::string makePage() {
    const std::string line =
        "<p>\xB5\xDA\xD2\xBB\xD5\xC2 chapter text, line of a novel page.</p>\r\n";
    std::string page;
    while (page.size() < pageBytes)
        page += line;
    page.resize(pageBytes);
    return page;
}

} // namespace

int main() {
    const std::string page = makePage();
    const std::string chunk(64 * 1024, 'x');
    httplib::Server server;
    // Without it Nagle and delayed acknowledgements stall every kept-alive reply.
    server.set_tcp_nodelay(true);
    server.Get("/page", [&](const httplib::Request&, httplib::Response& response) {
        response.set_content(page, "text/html");
    });
    server.Get("/big", [&](const httplib::Request&, httplib::Response& response) {
        response.set_content_provider(
            bigBytes, "application/octet-stream",
            [&](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
                (void)offset;
                return sink.write(chunk.data(), std::min(length, chunk.size()));
            });
    });
    const int port = server.bind_to_any_port("127.0.0.1");
    if (port <= 0)
        return 1;
    std::printf("%d\n", port);
    std::fflush(stdout);
    return server.listen_after_bind() ? 0 : 1;
}
