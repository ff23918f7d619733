#include "query_string.h"

namespace mz::sim {
namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

std::string percentDecode(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '+') {
            out += ' ';
        } else if (c == '%' && i + 2 < text.size() && hexValue(text[i + 1]) >= 0 &&
                   hexValue(text[i + 2]) >= 0) {
            out += static_cast<char>(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2]));
            i += 2;
        } else {
            out += c;
        }
    }
    return out;
}

std::map<std::string, std::string> parseQuery(const std::string& target) {
    std::map<std::string, std::string> query;
    size_t question = target.find('?');
    if (question == std::string::npos)
        return query;
    std::string rest = target.substr(question + 1);
    size_t hash = rest.find('#');
    if (hash != std::string::npos)
        rest.resize(hash);
    size_t begin = 0;
    while (begin <= rest.size()) {
        size_t end = rest.find('&', begin);
        if (end == std::string::npos)
            end = rest.size();
        std::string piece = rest.substr(begin, end - begin);
        begin = end + 1;
        size_t equals = piece.find('=');
        if (equals == std::string::npos)
            continue;
        query.emplace(percentDecode(piece.substr(0, equals)),
                      percentDecode(piece.substr(equals + 1)));
    }
    return query;
}

} // namespace mz::sim
