#pragma once

// Test files written byte for byte, as a book or a stored file would be.

#include <filesystem>
#include <fstream>
#include <string>

namespace mz::test {

// Replaces whatever is at path with exactly these bytes; returns path.
inline std::filesystem::path writeBytes(const std::filesystem::path& path,
                                        const std::string& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
}

} // namespace mz::test
