#pragma once

// Every file the program writes is written whole or not at all: into a temporary
// file beside it, renamed over the old one only when every byte went to disk.

#include <QString>

#include <string_view>

namespace mz {

struct WriteResult {
    bool ok = true;
    QString error; // why the write failed, for the user
};

WriteResult writeWholeFile(const QString& path, std::string_view bytes);

} // namespace mz
