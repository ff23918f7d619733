// Fetches the benchmark's pages through fetchPage, as the program does.
//   net_fetch_driver URL COUNT     fetch URL COUNT times, one after another
//   net_fetch_driver --fill BYTES  only fill BYTES of fresh memory the way a
//                                  body is collected (the cost of keeping it)
// Exits non-zero when a page comes back with a size other than the first one's.

#include "net/http_request.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

int fillMemory(std::size_t bytes) {
    const std::string chunk(512 * 1024, 'x');
    std::string body;
    body.reserve(bytes);
    while (body.size() < bytes)
        body.append(chunk, 0, std::min(chunk.size(), bytes - body.size()));
    std::printf("%zu\n", body.size());
    return 0;
}

int fetch(const std::string& url, int count) {
    std::size_t expected = 0;
    for (int i = 0; i < count; ++i) {
        const std::size_t size = mz::fetchPage(url).size();
        if (i == 0)
            expected = size;
        if (size == 0 || size != expected) {
            std::fprintf(stderr, "fetch %d gave %zu bytes, expected %zu\n", i, size, expected);
            return 1;
        }
    }
    std::printf("%zu\n", expected);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s URL COUNT | --fill BYTES\n", argv[0]);
        return 2;
    }
    if (std::strcmp(argv[1], "--fill") == 0)
        return fillMemory(std::strtoull(argv[2], nullptr, 10));
    return fetch(argv[1], std::atoi(argv[2]));
}
