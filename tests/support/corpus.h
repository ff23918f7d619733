#pragma once

#include <filesystem>
#include <string>

namespace mz::test {

// Folder of the real novels beside the project; empty when it is absent.
std::filesystem::path corpusDir();

// Folder of the small fixtures written for the project.
std::filesystem::path testDataDir();

// Whole file as bytes.
std::string readFileBytes(const std::filesystem::path& path);

} // namespace mz::test

// Skips the current test with a message when the corpus folder is absent.
#define MZ_REQUIRE_CORPUS()                                                                        \
    do {                                                                                           \
        if (mz::test::corpusDir().empty())                                                         \
            GTEST_SKIP() << "../shared/corpus is absent: real-novel test skipped";                 \
    } while (false)
