#include "reader/local_book.h"

#include "reader/chapter_finder.h"

namespace mz {

bool hasBookSuffix(std::string_view address) {
    if (address.size() < 3)
        return false;
    const std::string_view suffix = address.substr(address.size() - 3);
    return findIgnoreCase(suffix, "txt") == 1;
}

Text openingRowName(std::string_view text) {
    const size_t crlf = text.find("\r\n");
    return crlf == std::string_view::npos ? Text() : Text(text.substr(0, crlf + 1));
}

std::vector<Text> chapterRowNames(std::string_view text) {
    const std::vector<ChapterHeading> headings = findChapterHeadings(text);
    std::vector<Text> names;
    names.reserve(headings.size() + 1);
    names.push_back(openingRowName(text));
    for (const ChapterHeading& heading : headings)
        names.emplace_back(text.substr(heading.offset, heading.length));
    return names;
}

LocalBook completeLocalBook(std::string_view bytes, BookEncoding choice) {
    LocalBook book;
    book.text = decodeBookText(bytes, choice);
    book.chapterNames = chapterRowNames(book.text);
    book.chapterStarts = firstOccurrences(book.text, book.chapterNames);
    return book;
}

size_t chapterStart(std::string_view text, std::string_view name) {
    return findOffset(text, name, 0, true);
}

Text localChapterText(std::string_view text, const std::vector<Text>& names, int row) {
    if (row < 0 || static_cast<size_t>(row) >= names.size())
        return {};
    const auto at = static_cast<size_t>(row);
    std::vector<size_t> starts(at, 0); // rows before are not looked at
    starts.push_back(chapterStart(text, names[at]));
    if (at + 1 < names.size())
        starts.push_back(chapterStart(text, names[at + 1]));
    return localChapterText(text, starts, row);
}

Text localChapterText(std::string_view text, const std::vector<size_t>& starts, int row) {
    if (text.empty() || row < 0 || static_cast<size_t>(row) >= starts.size())
        return {};
    const auto at = static_cast<size_t>(row);
    const size_t begin = starts[at];
    const size_t end = at + 1 == starts.size() ? text.size() : starts[at + 1];
    if (begin == std::string_view::npos || end == std::string_view::npos || end <= begin)
        return {};
    return Text(text.substr(begin, end - begin));
}

} // namespace mz
