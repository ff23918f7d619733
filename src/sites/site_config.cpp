#include "sites/site_config.h"

#include "text/whole_file.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>

namespace mz {
namespace {

struct Key {
    const char* section;
    const char* name;
    Text SiteConfig::*field;
    bool isBase; // base addresses lose a trailing "/" so concatenation stays right
    const char* comment;
    bool emptyMeansNone = false; // an empty value is a choice, not a missing one
};

constexpr Key keys[] = {
    {"sites", "biquge", &SiteConfig::biquge, true, "笔趣阁: novel search, book index and chapters"},
    {"sites", "sogou", &SiteConfig::sogou, true,
     "搜狗小说网: novel search, book index and chapters"},
    {"sites", "e8Search", &SiteConfig::e8Search, true, "E8中文网 search service"},
    {"sites", "e8SiteId", &SiteConfig::e8SiteId, false, "the search service's id of E8中文网"},
    {"sites", "xiashu", &SiteConfig::xiashu, true, "下书网: download search and links"},
    {"sites", "qishu", &SiteConfig::qishu, true, "奇书网: download search and links"},
    {"speech", "base", &SiteConfig::speechBase, true,
     "speech service; empty: speech is made on this machine", true},
    {"speech", "appId", &SiteConfig::speechAppId, false, "the speech service's application id"},
};

std::string lowered(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

std::string_view stripped(std::string_view s) {
    auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!s.empty() && isSpace(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isSpace(s.back()))
        s.remove_suffix(1);
    return s;
}

const Key* findKey(std::string_view section, std::string_view name) {
    for (const Key& key : keys) {
        if (lowered(key.section) == section && lowered(key.name) == lowered(name))
            return &key;
    }
    return nullptr;
}

void assign(SiteConfig& config, const Key& key, std::string_view value) {
    if (key.isBase) {
        while (!value.empty() && value.back() == '/')
            value.remove_suffix(1);
    }
    if (!value.empty() || key.emptyMeansNone)
        config.*key.field = Text(value);
}

} // namespace

SiteConfig SiteConfig::parse(std::string_view iniText) {
    SiteConfig config;
    std::string section;
    size_t begin = 0;
    while (begin <= iniText.size()) {
        size_t end = iniText.find('\n', begin);
        if (end == std::string_view::npos)
            end = iniText.size();
        std::string_view line = stripped(iniText.substr(begin, end - begin));
        begin = end + 1;
        if (line.empty() || line.front() == ';' || line.front() == '#')
            continue;
        if (line.front() == '[') {
            size_t close = line.find(']');
            section = lowered(stripped(line.substr(
                1, close == std::string_view::npos ? std::string_view::npos : close - 1)));
            continue;
        }
        size_t equals = line.find('=');
        if (equals == std::string_view::npos)
            continue;
        if (const Key* key = findKey(section, stripped(line.substr(0, equals))))
            assign(config, *key, stripped(line.substr(equals + 1)));
    }
    return config;
}

SiteConfig SiteConfig::load(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return SiteConfig();
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return parse(bytes);
}

Text SiteConfig::toIniText() const {
    Text out = "; Where 墨舟 finds the novel sites, the download sites and the speech service.\r\n"
               "; Base addresses are a scheme and a host without a trailing \"/\".\r\n";
    std::string section;
    for (const Key& key : keys) {
        if (section != key.section) {
            section = key.section;
            out += "\r\n[" + section + "]\r\n";
        }
        out += Text("; ") + key.comment + "\r\n" + key.name + "=" + this->*key.field + "\r\n";
    }
    return out;
}

bool SiteConfig::save(const std::filesystem::path& path) const {
    return writeWholeFile(QString::fromStdU16String(path.u16string()), toIniText()).ok;
}

SiteConfig SiteConfig::allAt(const Text& base) {
    SiteConfig config;
    for (const Key& key : keys) {
        if (key.isBase)
            config.*key.field = base;
    }
    return config;
}

} // namespace mz
