#include "support/corpus.h"

#include <fstream>
#include <iterator>

namespace mz::test {

std::filesystem::path corpusDir() {
    std::filesystem::path dir(MOZHOU_CORPUS_DIR);
    std::error_code ec;
    return std::filesystem::is_directory(dir, ec) ? dir : std::filesystem::path();
}

std::filesystem::path testDataDir() {
    return std::filesystem::path(MOZHOU_TEST_DATA_DIR);
}

std::string readFileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace mz::test
