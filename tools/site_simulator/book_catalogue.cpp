#include "book_catalogue.h"

#include "text/code_page.h"

#include <fstream>
#include <iterator>

namespace mz::sim {
namespace {

SampleBook jianghu() {
    return {
        1001,
        "江湖夜雨",
        "沈听澜",
        "武侠",
        "连载",
        "2024-05-01",
        {{"第一章 夜雨孤灯",
          {"雨从黄昏落到三更，渡口的灯只剩一盏。", "沈七把斗笠压低，听见船板下有人轻轻敲了三下。",
           "他没有回头，只把手按在刀柄上，等那人先开口。"}},
         {"第二章 渡口旧人",
          {"来人是十年前的师兄，鬓边已经有了白发。", "“师父的剑谱，你还留着吗？”师兄问得很慢。",
           "沈七笑了笑，说剑谱早就烧了，只记得第一页。"}},
         {"第三章 一页剑谱",
          {"第一页只有八个字：心若不动，风又奈何。", "师兄听完，沉默良久，转身走进雨里。"}}}};
}

SampleBook xinghe() {
    return {
        1002,
        "星河问剑",
        "顾长风",
        "仙侠",
        "完本",
        "2023-11-20",
        {{"第一章 山门初雪",
          {"青崖山的第一场雪落下时，顾小舟刚满十四岁。",
           "他扫完三百级台阶，抬头看见一道剑光划过星河。"}},
         {"第二章 问剑台",
          {"问剑台上站着七位长老，每人手中一枚玉符。", "“拔剑。”大长老只说了两个字。",
           "顾小舟握住那柄生锈的铁剑，剑身忽然轻轻一颤。"}},
         {"第三章 铁剑生光",
          {"锈迹一层层剥落，露出的剑身亮得像一泓秋水。", "七枚玉符同时碎裂，满山的雪都停了。"}}}};
}

SampleBook changan() {
    return {1003,
            "长安小吏",
            "许半夏",
            "历史",
            "连载",
            "2024-04-18",
            {{"第一章 京兆府的早晨",
              {"天还没亮，许九就被坊门的鼓声吵醒了。", "他是京兆府最小的吏员，管的是西市的秤。"}},
             {"第二章 西市的秤",
              {"胡商阿史那的秤少了二两，许九一眼就看了出来。",
               "他没有声张，只在账册上画了一个小小的圈。"}},
             {"第三章 账册里的圈",
              {"三个月后，那些小圈连成了一条线，一直通到户部。", "许九合上账册，吹灭了灯。"}},
             // Still being written: the sites serve the page without paragraphs.
             {"第四章 （待续）", {}}}};
}

SampleBook yuluo() {
    return {1004,
            "雨落青石巷",
            "林小满",
            "都市",
            "连载",
            "2024-05-03",
            {{"第一章 青石巷",
              {"青石巷口有一家旧书店，招牌上的字已经看不清了。",
               "林晚每天下班都绕路经过，却从没进去过。"}},
             {"第二章 旧书店",
              {"那天下雨，她终于推开了门，门上的铃铛响了一声。",
               "店主是个戴眼镜的老人，正在修补一本《诗经》。"}},
             {"第三章 诗经",
              {"“蒹葭苍苍，白露为霜。”老人念完，抬头看她。", "林晚忽然想起，外婆也曾这样念过。"}}}};
}

SampleBook fusheng() {
    return {
        1005,
        "浮生 & 半日",
        "白露",
        "散文",
        "完本",
        "2022-08-08",
        {{"第一章 半日闲", {"偷得浮生半日闲，泡一壶茶，看窗外的云。", "云走得很慢，茶凉得很快。"}},
         {"第二章 浮生记",
          {"有人说浮生若梦，我说梦里也要吃饭。", "于是起身，去巷口买了两个烧饼。"}}}};
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string gbkFileToUtf8(const std::string& bytes) {
    return wideToMultiByte(multiByteToWide(bytes, codePageGbk), codePageUtf8);
}

std::string stripLine(std::string line) {
    auto trimmed = [](std::string_view s) {
        const std::string_view blanks[] = {" ", "\t", "\r", "\u3000"};
        bool changed = true;
        while (changed) {
            changed = false;
            for (std::string_view b : blanks) {
                if (s.substr(0, b.size()) == b) {
                    s.remove_prefix(b.size());
                    changed = true;
                }
                if (s.size() >= b.size() && s.substr(s.size() - b.size()) == b) {
                    s.remove_suffix(b.size());
                    changed = true;
                }
            }
        }
        return std::string(s);
    };
    return trimmed(line);
}

// A heading is a short line "第…回" or "第…章", perhaps after "正文", with the
// mark within its first few characters; everything else is a paragraph.
bool isHeading(std::string line) {
    if (line.rfind("正文", 0) == 0)
        line = stripLine(line.substr(std::string("正文").size()));
    if (line.rfind("第", 0) != 0 || line.size() > 120)
        return false;
    std::string head = line.substr(0, std::min<size_t>(line.size(), 30));
    return head.find("回") != std::string::npos || head.find("章") != std::string::npos;
}

std::vector<SampleChapter> splitChapters(const std::string& utf8) {
    std::vector<SampleChapter> chapters;
    size_t begin = 0;
    while (begin < utf8.size()) {
        size_t end = utf8.find('\n', begin);
        if (end == std::string::npos)
            end = utf8.size();
        std::string line = stripLine(utf8.substr(begin, end - begin));
        begin = end + 1;
        if (line.empty())
            continue;
        if (isHeading(line))
            chapters.push_back({line, {}});
        else if (!chapters.empty())
            chapters.back().paragraphs.push_back(line);
    }
    return chapters;
}

struct CorpusNovel {
    const char* file;
    bool gbk;
    SampleBook book;
};

} // namespace

BookCatalogue BookCatalogue::samples() {
    BookCatalogue catalogue;
    for (SampleBook book : {jianghu(), xinghe(), changan(), yuluo(), fusheng()})
        catalogue.add(std::move(book));
    return catalogue;
}

void BookCatalogue::add(SampleBook book) {
    books_.push_back(std::move(book));
}

int BookCatalogue::addCorpus(const std::filesystem::path& folder) {
    const CorpusNovel novels[] = {
        {"raw/hongloumeng.utf8.crlf.txt",
         false,
         {2001, "红楼梦", "曹雪芹", "古典", "完本", "1791-01-01", {}}},
        {"raw/xiyouji.utf8.crlf.txt",
         false,
         {2002, "西游记", "吴承恩", "古典", "完本", "1592-01-01", {}}},
        {"raw/shuihuzhuan.utf8.crlf.txt",
         false,
         {2003, "水浒传", "施耐庵", "古典", "完本", "1589-01-01", {}}},
        {"raw/aqzhengzhuan.utf8.crlf.txt",
         false,
         {2004, "阿Q正传", "鲁迅", "现代", "完本", "1922-02-12", {}}},
        {"raw/sanguoyanyi.gbk-udc.lf.txt",
         true,
         {2005, "三国演义", "罗贯中", "古典", "完本", "1522-01-01", {}}},
    };
    int added = 0;
    for (const CorpusNovel& novel : novels) {
        std::filesystem::path path = folder / novel.file;
        std::error_code ec;
        if (!std::filesystem::is_regular_file(path, ec))
            continue;
        std::string bytes = readFile(path);
        SampleBook book = novel.book;
        book.chapters = splitChapters(novel.gbk ? gbkFileToUtf8(bytes) : bytes);
        if (book.chapters.empty())
            continue;
        add(std::move(book));
        ++added;
    }
    return added;
}

const SampleBook* BookCatalogue::byId(int id) const {
    for (const SampleBook& book : books_) {
        if (book.id == id)
            return &book;
    }
    return nullptr;
}

std::vector<const SampleBook*> BookCatalogue::find(const std::string& word) const {
    std::vector<const SampleBook*> found;
    if (word.empty())
        return found;
    for (const SampleBook& book : books_) {
        if (book.title.find(word) != std::string::npos ||
            book.author.find(word) != std::string::npos)
            found.push_back(&book);
    }
    return found;
}

std::vector<const SampleBook*> BookCatalogue::findByTitle(const std::string& word) const {
    std::vector<const SampleBook*> found;
    if (word.empty())
        return found;
    for (const SampleBook& book : books_) {
        if (book.title.find(word) != std::string::npos)
            found.push_back(&book);
    }
    return found;
}

} // namespace mz::sim
