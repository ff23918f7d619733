#include "reader/profile_file.h"

#include "text/whole_file.h"

#include <QFile>

namespace mz {
namespace {

std::string_view trimBlanks(std::string_view text) {
    const size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string_view::npos)
        return {};
    const size_t end = text.find_last_not_of(" \t");
    return text.substr(begin, end - begin + 1);
}

bool sameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && (a.empty() || findIgnoreCase(a, b) == 1);
}

// The name of a "[name]" line, or empty when the line is no section header.
std::optional<std::string_view> sectionName(std::string_view line) {
    line = trimBlanks(line);
    if (line.size() < 2 || line.front() != '[')
        return std::nullopt;
    const size_t close = line.rfind(']'); // ']' may be a GBK trail byte
    if (close == std::string_view::npos)
        return std::nullopt;
    return trimBlanks(line.substr(1, close - 1));
}

} // namespace

bool ProfileFile::load() {
    lines_.clear();
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    const std::string_view all(bytes.constData(), static_cast<size_t>(bytes.size()));
    size_t start = 0;
    while (start < all.size()) {
        const size_t lf = all.find('\n', start);
        const size_t stop = lf == std::string_view::npos ? all.size() : lf;
        Line line;
        line.text = Text(all.substr(start, stop - start));
        line.end = lf == std::string_view::npos ? "" : "\n";
        if (!line.text.empty() && line.text.back() == '\r') {
            line.text.pop_back();
            line.end = "\r" + line.end;
        }
        lines_.push_back(std::move(line));
        start = stop + 1;
    }
    return true;
}

std::optional<size_t> ProfileFile::findSection(std::string_view section) const {
    for (size_t i = 0; i < lines_.size(); ++i) {
        const auto name = sectionName(lines_[i].text);
        if (name && sameIgnoringCase(*name, trimBlanks(section)))
            return i;
    }
    return std::nullopt;
}

size_t ProfileFile::sectionEnd(size_t header) const {
    size_t end = header + 1;
    while (end < lines_.size() && !sectionName(lines_[end].text))
        ++end;
    return end;
}

std::optional<size_t> ProfileFile::findKey(size_t header, std::string_view key) const {
    const size_t end = sectionEnd(header);
    for (size_t i = header + 1; i < end; ++i) {
        const std::string_view line = lines_[i].text;
        const size_t equals = line.find('=');
        if (equals != std::string_view::npos &&
            sameIgnoringCase(trimBlanks(line.substr(0, equals)), trimBlanks(key)))
            return i;
    }
    return std::nullopt;
}

Text ProfileFile::value(std::string_view section, std::string_view key,
                        std::string_view defaultValue, size_t maxBytes) const {
    const auto header = findSection(section);
    const auto line = header ? findKey(*header, key) : std::nullopt;
    std::string_view found = defaultValue;
    if (line) {
        const std::string_view text = lines_[*line].text;
        found = trimBlanks(text.substr(text.find('=') + 1));
    }
    return Text(found.substr(0, maxBytes > 0 ? maxBytes - 1 : 0));
}

void ProfileFile::setValue(std::string_view section, std::string_view key, std::string_view value) {
    Line entry{Text(trimBlanks(key)) + "=" + Text(value)};
    auto header = findSection(section);
    if (!header) {
        if (!lines_.empty() && lines_.back().end.empty())
            lines_.back().end = "\r\n";
        lines_.push_back({"[" + Text(trimBlanks(section)) + "]"});
        header = lines_.size() - 1;
    }
    if (const auto line = findKey(*header, key)) {
        Text& text = lines_[*line].text;
        text =
            Text(trimBlanks(std::string_view(text).substr(0, text.find('=')))) + "=" + Text(value);
        return;
    }
    // After the section's last non-blank line, so blank separators stay below it.
    size_t at = sectionEnd(*header);
    while (at > *header + 1 && trimBlanks(lines_[at - 1].text).empty())
        --at;
    if (at == lines_.size() && !lines_.empty() && lines_.back().end.empty())
        lines_.back().end = "\r\n";
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), std::move(entry));
}

bool ProfileFile::save() const {
    Bytes bytes;
    for (const Line& line : lines_) {
        bytes += line.text;
        bytes += line.end;
    }
    return writeWholeFile(path_, bytes).ok;
}

} // namespace mz
