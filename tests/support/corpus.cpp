#include "support/corpus.h"

#include <QByteArray>
#include <QtGlobal>

#include <fstream>
#include <iterator>

namespace mz::test {

std::filesystem::path corpusDir() {
    // MOZHOU_CORPUS_DIR overrides the folder beside the project (worktrees, other layouts).
    QByteArray override = qgetenv("MOZHOU_CORPUS_DIR");
    std::filesystem::path dir(override.isEmpty() ? MOZHOU_CORPUS_DIR : override.constData());
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
