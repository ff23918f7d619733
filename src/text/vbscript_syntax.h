#pragma once

// Pages are taken apart with patterns written for the VBScript.RegExp dialect (the
// script-engine syntax). Boost's Perl syntax differs from it in many small places
// ("." and \s, \w, \d, \b, ^ and $, octal and back-references, stray braces), so a
// pattern is rewritten into Boost syntax with the same meaning before it is compiled.

#include <optional>
#include <string>
#include <string_view>

namespace mz {

// The pattern in Boost's Perl syntax, or nothing when it is not a valid pattern of
// the dialect. The pattern is read in UTF-16 units, one per element, as the
// component reads it. With multiline, ^ and $ also match next to CR and LF.
std::optional<std::u32string> toBoostPerlSyntax(std::u32string_view pattern, bool multiline);

} // namespace mz
