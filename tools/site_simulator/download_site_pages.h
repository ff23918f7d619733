#pragma once

// Pages of the two download sites: 下书网 in UTF-8, 奇书网 in GBK.

#include "novel_site_pages.h"

#include <string>

namespace mz::sim {

// The 下书网 result link of a book; its id follows "id=".
std::string xiashuBookPath(int id);
std::string qishuBookPath(int id);
// Where the download links of each site point (served as the book's text).
std::string xiashuFilePath(int id, const std::string& extension);
std::string qishuFilePath(int id, const std::string& extension);

// Results end with a recommendation banner whose link carries no book id.
std::string xiashuSearchPage(const BookList& books);
// Text and zip links interleaved: two of each, text first.
std::string xiashuDownPage(const SampleBook& book, const std::string& base);

// The first occurrence of the word in each title is marked in red.
std::string qishuSearchPage(const BookList& books, const std::string& word);
std::string qishuBookPage(const SampleBook& book, const std::string& base);

} // namespace mz::sim
