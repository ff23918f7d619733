#pragma once

// A Windows-style profile (INI) file in GBK: "[section]" lines and "key=value"
// lines, sections and keys matched ignoring ASCII letter case. Lines the file
// already holds are kept byte for byte; new lines end in CR LF.

#include "text/text.h"

#include <QString>

#include <optional>
#include <vector>

namespace mz {

class ProfileFile {
  public:
    explicit ProfileFile(QString path) : path_(std::move(path)) {}

    // Reads the file; a missing or unreadable file reads as empty (false).
    bool load();

    // The value of key in section (blanks around it removed, at most maxBytes - 1
    // bytes as a fixed read buffer would give), or defaultValue when absent.
    Text value(std::string_view section, std::string_view key, std::string_view defaultValue = {},
               size_t maxBytes = 10240) const;

    // Replaces the value of the key's line (keeping the key as written), or adds it at the end of
    // its section, adding the section at the end of the file when it is missing.
    void setValue(std::string_view section, std::string_view key, std::string_view value);

    // Writes the whole file or nothing; false when it could not be written.
    bool save() const;

  private:
    struct Line {
        Text text;         // without its line end
        Text end = "\r\n"; // "\r\n", "\n" or "" for a last line without one
    };

    // Index of the section's header line, or empty.
    std::optional<size_t> findSection(std::string_view section) const;
    // Index of the key's line inside the section that starts after header.
    std::optional<size_t> findKey(size_t header, std::string_view key) const;
    size_t sectionEnd(size_t header) const;

    QString path_;
    std::vector<Line> lines_;
};

} // namespace mz
