#include "novel_site_pages.h"

#include "text/code_page.h"

namespace mz::sim {
namespace {

const std::string crlf = "\r\n";

std::string spaces(int n) {
    return std::string(static_cast<size_t>(n), ' ');
}

std::string htmlHead(const std::string& title, const std::string& charset) {
    return "<!DOCTYPE html>\r\n<html>\r\n<head>\r\n<meta charset=\"" + charset + "\">\r\n<title>" +
           title + "</title>\r\n</head>\r\n<body>\r\n";
}

const std::string htmlTail = "</body>\r\n</html>\r\n";

std::string chapterFile(int n) {
    return std::to_string(n) + ".html";
}

const SampleChapter& latest(const SampleBook& book) {
    return book.chapters.back();
}

int latestNumber(const SampleBook& book) {
    return static_cast<int>(book.chapters.size());
}

std::string chapterHead(const SampleBook& book, const SampleChapter& chapter,
                        const std::string& charset) {
    return htmlHead(chapter.title + "_" + book.title, charset) + "<div class=\"bookname\"><h1>" +
           chapter.title + "</h1></div>\r\n";
}

std::string missingChapter(const std::string& charset) {
    return htmlHead("404", charset) + "<p>章节不存在</p>\r\n" + htmlTail;
}

} // namespace

std::string toGbk(const std::string& utf8) {
    return wideToMultiByte(multiByteToWide(utf8, codePageUtf8), codePageGbk);
}

std::string biqugeBookPath(int id) {
    return "/bqg/" + std::to_string(id) + "/";
}
std::string sogouBookPath(int id) {
    return "/sg/" + std::to_string(id) + "/";
}
std::string sogouChapterPath(int id, int n) {
    return sogouBookPath(id) + chapterFile(n);
}
std::string e8BookPath(int id) {
    return "/e8/" + std::to_string(id) + "/";
}

// A results table: each book is a row of six cells over six lines, the fourth
// indented with a tab, the others with four spaces.
std::string biqugeSearchPage(const BookList& books) {
    std::string page = htmlHead("搜索结果", "gbk") +
                       "<table class=\"grid\" width=\"100%\" align=\"center\">\r\n<tr>\r\n"
                       "    <th>文章名称</th>\r\n    <th>最新章节</th>\r\n    <th>作者</th>\r\n"
                       "    <th>字数</th>\r\n    <th>更新</th>\r\n    <th>状态</th>\r\n</tr>\r\n";
    for (const SampleBook* book : books) {
        std::string path = biqugeBookPath(book->id);
        page += "<tr id=\"nr\">\r\n"
                "    <td class=\"odd\"><a href=\"" +
                path + "\">" + book->title +
                "</a></td>\r\n"
                "    <td class=\"even\"><a href=\"" +
                path + chapterFile(latestNumber(*book)) + "\" target=\"_blank\">" +
                latest(*book).title +
                "</a></td>\r\n"
                "    <td class=\"odd\">" +
                book->author +
                "</td>\r\n"
                "\t<td class=\"even\">" +
                book->sizeText() +
                "</td>\r\n"
                "    <td class=\"odd\" align=\"center\">" +
                book->updated +
                "</td>\r\n"
                "    <td class=\"even\" align=\"center\">" +
                book->state +
                "</td>\r\n"
                "</tr>\r\n";
    }
    return toGbk(page + "</table>\r\n" + htmlTail);
}

// Relative chapter links; one book (1004) is written with upper-case tags.
std::string biqugeIndexPage(const SampleBook& book) {
    bool upper = book.id == 1004;
    std::string page = htmlHead(book.title, "gbk") + "<div id=\"info\"><h1>" + book.title +
                       "</h1><p>作者：" + book.author +
                       "</p></div>\r\n<div id=\"list\">\r\n<dl>\r\n"
                       "<dt>《" +
                       book.title + "》正文</dt>\r\n";
    for (int n = 1; n <= latestNumber(book); ++n) {
        const std::string& title = book.chapters[static_cast<size_t>(n - 1)].title;
        page += upper ? "<DD><A HREF=\"" + chapterFile(n) + "\">" + title + "</A></DD>\r\n"
                      : "<dd><a href=\"" + chapterFile(n) + "\">" + title + "</a></dd>\r\n";
    }
    return toGbk(page + "</dl>\r\n</div>\r\n" + htmlTail);
}

std::string biqugeChapterPage(const SampleBook& book, int n) {
    const SampleChapter* chapter = book.chapter(n);
    if (!chapter)
        return toGbk(missingChapter("gbk"));
    std::string page = chapterHead(book, *chapter, "gbk") + "<div id=\"content\">\r\n";
    if (chapter->paragraphs.empty())
        page += "作者正在努力码字中……\r\n";
    for (const std::string& paragraph : chapter->paragraphs)
        page += "<p>" + paragraph + "</p>\r\n";
    return toGbk(page + "</div>\r\n" + htmlTail);
}

// One book per line; the colons after 分类 and 作者 are full-width.
std::string sogouSearchPage(const BookList& books) {
    std::string page = htmlHead("站内搜索", "gbk") + "<div class=\"result-list\">\r\n";
    for (const SampleBook* book : books) {
        std::string path = sogouBookPath(book->id);
        page += "<div class=\"bookbox\"><div class=\"p10\"><div class=\"bookimg\"><a href=\"" +
                path + "\"><img src=\"/sg/cover/" + std::to_string(book->id) +
                ".jpg\"></a></div><div class=\"bookinfo\"><h4 class=\"bookname\"><a href=\"" +
                path + "\">" + book->title + "</a></h4><div class=\"cat\">分类：" + book->category +
                "</div><div class=\"author\">作者：" + book->author +
                "</div><div class=\"update\"><span>最新章节：</span>" + latest(*book).title +
                "</div></div></div></div>\r\n";
    }
    return toGbk(page + "</div>\r\n" + htmlTail);
}

// The newest chapters come first, indented with spaces; the full list follows,
// each <dd> after a tab. Links are absolute paths.
std::string sogouIndexPage(const SampleBook& book) {
    std::string page = htmlHead(book.title, "gbk") + "<div class=\"listmain\">\r\n<dl>\r\n<dt>《" +
                       book.title + "》最新章节</dt>\r\n";
    int newest = latestNumber(book);
    for (int n = newest; n >= 1 && n > newest - 2; --n) {
        page += "    <dd><a href =\"" + sogouChapterPath(book.id, n) + "\">" +
                book.chapters[static_cast<size_t>(n - 1)].title + "</a></dd>\r\n";
    }
    page += "<dt>《" + book.title + "》正文</dt>\r\n";
    for (int n = 1; n <= newest; ++n) {
        page += "\t<dd><a href =\"" + sogouChapterPath(book.id, n) + "\">" +
                book.chapters[static_cast<size_t>(n - 1)].title + "</a></dd>\r\n";
    }
    return toGbk(page + "</dl>\r\n</div>\r\n" + htmlTail);
}

std::string sogouChapterPage(const SampleBook& book, int n) {
    const SampleChapter* chapter = book.chapter(n);
    if (!chapter)
        return toGbk(missingChapter("gbk"));
    std::string indent;
    for (int i = 0; i < 8; ++i)
        indent += "&nbsp;";
    std::string page = chapterHead(book, *chapter, "gbk") + "<div id=\"content\">\r\n";
    if (chapter->paragraphs.empty())
        page += "作者正在努力码字中……\r\n";
    for (const std::string& paragraph : chapter->paragraphs)
        page += indent + paragraph + "<br />\r\n";
    return toGbk(page + "</div>\r\n" + htmlTail);
}

// Eleven lines per book with fixed indents; addresses are whole.
std::string e8SearchPage(const BookList& books, const std::string& base) {
    std::string page = htmlHead("搜索结果", "utf-8") + "<div class=\"novelslist2\">\r\n<ul>\r\n";
    for (const SampleBook* book : books) {
        std::string address = base + e8BookPath(book->id);
        page += spaces(36) + "<li><span class=\"s1\">[" + book->category + "]</span>" + crlf +
                spaces(24) + "<span class=\"s2\"><a href=\"" + address + "\" target=\"_blank\">" +
                crlf + spaces(28) + book->title + "</a>" + crlf + spaces(20) + "</span>" + crlf +
                spaces(24) + "<span class=\"s3\"><a href=\"" + address +
                chapterFile(latestNumber(*book)) + "\"" + crlf + spaces(44) + "target=\"_blank\">" +
                latest(*book).title + "</a>" + crlf + spaces(20) + "</span>" + crlf + spaces(24) +
                "<span class=\"s4\">" + book->author + "</span>" + crlf + spaces(24) +
                "<span class=\"s5\">" + book->sizeText() + "</span>" + crlf + spaces(24) +
                "<span class=\"s6\">" + book->updated + "</span>" + crlf + spaces(24) +
                "<span class=\"s7\">" + book->state + "</span>" + crlf + spaces(20) + "</li>" +
                crlf;
    }
    return page + "</ul>\r\n</div>\r\n" + htmlTail;
}

// Relative chapter links after "<dd> " with an empty style attribute.
std::string e8IndexPage(const SampleBook& book) {
    std::string page = htmlHead(book.title, "utf-8") + "<div id=\"list\">\r\n<dl>\r\n";
    for (int n = 1; n <= latestNumber(book); ++n) {
        page += "<dd> <a style=\"\" href=\"" + chapterFile(n) + "\">" +
                book.chapters[static_cast<size_t>(n - 1)].title + "</a></dd>\r\n";
    }
    return page + "</dl>\r\n</div>\r\n" + htmlTail;
}

// Paragraphs indented with four &nbsp;, one per line.
std::string e8ChapterPage(const SampleBook& book, int n) {
    const SampleChapter* chapter = book.chapter(n);
    if (!chapter)
        return missingChapter("utf-8");
    std::string page = chapterHead(book, *chapter, "utf-8") + "<div id=\"content\">\r\n";
    if (chapter->paragraphs.empty())
        page += "作者正在努力码字中……\r\n";
    for (const std::string& paragraph : chapter->paragraphs)
        page += "&nbsp;&nbsp;&nbsp;&nbsp;" + paragraph + "<br />\r\n";
    return page + "</div>\r\n" + htmlTail;
}

} // namespace mz::sim
