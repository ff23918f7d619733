#pragma once

// The query of a request target, decoded to raw bytes: "%XX" becomes the byte,
// "+" a space. The bytes stay in whatever encoding the client used, so each site
// decodes its own word.

#include <map>
#include <string>

namespace mz::sim {

// name -> value; the first occurrence of a name wins; pieces without "=" are skipped.
std::map<std::string, std::string> parseQuery(const std::string& target);

std::string percentDecode(const std::string& text);

} // namespace mz::sim
