#pragma once

// Pages are taken apart with patterns written for the VBScript.RegExp dialect (the
// script-engine syntax). Boost's Perl syntax differs from it in many small places
// ("." and \s, \w, \d, \b, ^ and $, octal and back-references, stray braces), so a
// pattern is rewritten into Boost syntax with the same meaning before it is compiled.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mz {

// The pattern in Boost's Perl syntax, or nothing when it is not a valid pattern of
// the dialect. The pattern is read in UTF-16 units, one per element, as the
// component reads it. With multiline, ^ and $ also match next to CR and LF.
//
// The result is compiled with the perl and no_mod_s options, case-sensitively,
// and run over a subject in the form toMatchUnits gives, with the same ignoreCase.
std::optional<std::u32string> toBoostPerlSyntax(std::u32string_view pattern, bool multiline,
                                                bool ignoreCase);

// The subject as the engine sees it, one element per UTF-16 unit. With ignoreCase
// each unit is case-folded (the pattern's literals are folded and its bracket
// expressions hold every case variant): folding the page once is much cheaper than
// letting the engine fold at every comparison. FF, NEL, LS and PS are moved out of
// the character range, so that Boost's fast "." can stand for the dialect's, which
// excludes CR and LF only.
std::vector<std::int32_t> toMatchUnits(std::u16string_view subject, bool ignoreCase);

} // namespace mz
