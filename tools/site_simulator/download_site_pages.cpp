#include "download_site_pages.h"

namespace mz::sim {
namespace {

std::string head(const std::string& title, const std::string& charset) {
    return "<!DOCTYPE html>\r\n<html>\r\n<head>\r\n<meta charset=\"" + charset + "\">\r\n<title>" +
           title + "</title>\r\n</head>\r\n<body>\r\n";
}

const std::string tail = "</body>\r\n</html>\r\n";

std::string xiashuItem(const std::string& link, const std::string& cover,
                       const std::string& title) {
    return "<li><a href=\"" + link +
           "\" target=\"_blank\"><img src=\"/xs/images/loading.gif\" "
           "data-original=\"" +
           cover + "\" alt=\"" + title + "\" title=\"" + title +
           "\" width=\"90\" height=\"120\" /></a></li>\r\n";
}

std::string markFirst(const std::string& title, const std::string& word) {
    size_t at = title.find(word);
    if (word.empty() || at == std::string::npos)
        return title;
    return title.substr(0, at) + "<font color=\"red\">" + word + "</font>" +
           title.substr(at + word.size());
}

} // namespace

std::string xiashuBookPath(int id) {
    return "/xs/book.php?id=" + std::to_string(id);
}
std::string qishuBookPath(int id) {
    return "/qishu/" + std::to_string(id) + ".html";
}

std::string xiashuFilePath(int id, const std::string& extension) {
    return "/xs/files/" + std::to_string(id) + "." + extension;
}

std::string qishuFilePath(int id, const std::string& extension) {
    return "/qishu/files/" + std::to_string(id) + "." + extension;
}

std::string xiashuSearchPage(const BookList& books) {
    std::string page = head("搜索结果", "utf-8") + "<ul class=\"booklist\">\r\n";
    for (const SampleBook* book : books) {
        std::string id = std::to_string(book->id);
        page += xiashuItem(xiashuBookPath(book->id), "/xs/cover/" + id + ".jpg", book->title);
    }
    if (!books.empty())
        page += xiashuItem("/xs/top.html", "/xs/cover/top.jpg", "热门推荐");
    return page + "</ul>\r\n" + tail;
}

std::string xiashuDownPage(const SampleBook& book, const std::string& base) {
    auto zip = [&](const std::string& label, const std::string& ext) {
        return "<span class=\"zip-download\" title=\"" + label + "\"><a href=\"" + base +
               xiashuFilePath(book.id, ext) + "\">" + label + "</a></span>\r\n";
    };
    auto txt = [&](const std::string& label, const std::string& ext) {
        return "<span class=\"txt-download\" title=\"" + label +
               "\"><a rel=\"external nofollow\" href=\"" + base + xiashuFilePath(book.id, ext) +
               "\">" + label + "</a></span>\r\n";
    };
    return head(book.title + " 下载", "utf-8") + "<h1>" + book.title + "</h1>\r\n" +
           "<div class=\"down-list\">\r\n" + txt("TXT全本下载", "txt") + zip("ZIP全本下载", "zip") +
           txt("TXT备用下载", "bak.txt") + zip("ZIP备用下载", "bak.zip") + "</div>\r\n" + tail;
}

// Every row starts with three tabs; a title without the word shows no mark.
std::string qishuSearchPage(const BookList& books, const std::string& word) {
    std::string page = head("搜索结果", "gb2312") + "<div class=\"list\">\r\n";
    for (const SampleBook* book : books) {
        page += "\t\t\t<div class=\"searchTopic\"><span>[" + book->category + "]</span><a href=\"" +
                qishuBookPath(book->id) + "\">" + markFirst(book->title, word) + "</a></div>\r\n";
    }
    return toGbk(page + "</div>\r\n" + tail);
}

std::string qishuBookPage(const SampleBook& book, const std::string& base) {
    auto link = [&](const std::string& ext, const std::string& label) {
        return "<img src=\"/qishu/images/down.gif\" border=\"0\" align=\"absmiddle\" /><a href=\"" +
               base + qishuFilePath(book.id, ext) + "\" target=\"_blank\" rel=\"nofollow\"><b>" +
               label + "</b></a><br />\r\n";
    };
    return toGbk(head(book.title, "gb2312") + "<h1>" + book.title + "</h1>\r\n<p>作者：" +
                 book.author + "</p>\r\n<div class=\"downlist\">\r\n" +
                 link("txt", "TXT电子书下载") + link("rar", "RAR压缩包下载") + "</div>\r\n" + tail);
}

} // namespace mz::sim
