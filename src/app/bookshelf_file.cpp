#include "app/bookshelf_file.h"

#include <QFile>

#include <algorithm>

namespace mz {
namespace {

constexpr std::string_view lineEnd = "\r\n";
constexpr std::string_view fieldEnd = "----";

BookshelfEntry entryFromLine(std::string_view line) {
    std::vector<Text> fields = split(line, fieldEnd);
    fields.resize(std::max<size_t>(fields.size(), 4));
    return {fields[0], fields[1], fields[2], fields[3]};
}

} // namespace

ParsedBookshelf parseBookshelf(std::string_view bytes) {
    const std::string_view text = bytes.substr(0, bytes.find('\0'));
    const int lineCount = countSubtext(text, lineEnd);
    // Text after the last line end is a piece of its own, and is no line.
    std::vector<Text> lines = split(text, lineEnd);
    lines.resize(static_cast<size_t>(lineCount));
    ParsedBookshelf parsed;
    parsed.rows.reserve(lines.size());
    for (const Text& line : lines)
        parsed.rows.push_back(entryFromLine(line));
    // Every line goes to the top of the list, so the file's last line is the top row.
    std::reverse(parsed.rows.begin(), parsed.rows.end());
    parsed.lossy = formatBookshelf(parsed.rows) != bytes;
    return parsed;
}

Bytes formatBookshelf(const std::vector<BookshelfEntry>& rows) {
    Bytes bytes;
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
        for (const Text* field : {&row->address, &row->title, &row->author, &row->source}) {
            bytes += *field;
            bytes += fieldEnd;
        }
        bytes += lineEnd;
    }
    return bytes;
}

Bytes readBookshelfFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll().toStdString();
}

WriteResult writeBookshelfFile(const QString& path, const Bytes& bytes, bool keepFormer) {
    if (keepFormer && QFile::exists(path)) {
        QFile former(path);
        if (!former.open(QIODevice::ReadOnly))
            return {false, former.errorString()};
        const QByteArray formerBytes = former.readAll();
        const WriteResult backup = writeWholeFile(
            path + QStringLiteral(".bak"),
            std::string_view(formerBytes.constData(), static_cast<size_t>(formerBytes.size())));
        if (!backup.ok)
            return backup;
    }
    return writeWholeFile(path, bytes);
}

} // namespace mz
