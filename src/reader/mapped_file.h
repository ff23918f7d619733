#pragma once

// A whole file mapped read-only into memory: reading a book of hundreds of
// megabytes without copying it.

#include <QFile>

#include <filesystem>
#include <string_view>

namespace mz {

class MappedFile {
  public:
    explicit MappedFile(const std::filesystem::path& path);

    // False when the file could not be opened or mapped.
    bool isOpen() const { return open_; }
    std::string_view bytes() const { return {data_, size_}; }

  private:
    QFile file_; // the mapping lives as long as the open file
    const char* data_ = nullptr;
    size_t size_ = 0;
    bool open_ = false;
};

} // namespace mz
