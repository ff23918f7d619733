#pragma once

// Pages of the three novel sites, built from sample books in the layouts the
// program's patterns read: 笔趣阁 and 搜狗小说网 in GBK, E8中文网 in UTF-8.
// Pure functions: the server only picks one and sends its bytes.

#include "sample_book.h"

#include <string>
#include <vector>

namespace mz::sim {

using BookList = std::vector<const SampleBook*>;

// Paths of a book and of its chapter n on each site.
std::string biqugeBookPath(int id);
std::string sogouBookPath(int id);
std::string sogouChapterPath(int id, int n);
std::string e8BookPath(int id);

std::string biqugeSearchPage(const BookList& books);
std::string biqugeIndexPage(const SampleBook& book);
std::string biqugeChapterPage(const SampleBook& book, int n);

std::string sogouSearchPage(const BookList& books);
std::string sogouIndexPage(const SampleBook& book);
std::string sogouChapterPage(const SampleBook& book, int n);

// base: the simulator's own address; E8中文网 hands out whole book addresses.
std::string e8SearchPage(const BookList& books, const std::string& base);
std::string e8IndexPage(const SampleBook& book);
std::string e8ChapterPage(const SampleBook& book, int n);

// UTF-8 to GBK bytes.
std::string toGbk(const std::string& utf8);

} // namespace mz::sim
