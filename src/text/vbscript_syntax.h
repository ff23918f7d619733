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

// A pattern rewritten for Boost, and whether it tells characters above ASCII apart.
struct BoostPattern {
    std::u32string syntax;
    // True when no literal, bracket expression or back-reference of the pattern
    // tells one non-ASCII unit of the subject from another: the subject may then
    // carry one stand-in for all of them (see toMatchUnits).
    bool nonAsciiAlike = false;
};

// The pattern in Boost's Perl syntax, or nothing when it is not a valid pattern of
// the dialect. The pattern is read in UTF-16 units, one per element, as the
// component reads it. With multiline, ^ and $ also match next to CR and LF.
//
// The result is compiled with the perl and no_mod_s options, case-sensitively,
// and run over a subject in the form toMatchUnits gives, with the same ignoreCase.
std::optional<BoostPattern> toBoostPerlSyntax(std::u32string_view pattern, bool multiline,
                                              bool ignoreCase);

// The subject as the engine sees it, one element per UTF-16 unit. With ignoreCase
// each unit is case-folded (the pattern's literals are folded and its bracket
// expressions hold every case variant): folding the page once is much cheaper than
// letting the engine fold at every comparison. FF, NEL, LS and PS are moved out of
// the character range, so that Boost's fast "." can stand for the dialect's, which
// excludes CR and LF only.
//
// With nonAsciiAlike (from a pattern whose BoostPattern says so) every unit that is
// still above ASCII becomes U+0080. Boost looks up whether a unit can start the
// next state in a 256-entry table and tries every larger unit the slow way, which
// made Chinese text several times dearer to match than ASCII.
std::vector<std::int32_t> toMatchUnits(std::u16string_view subject, bool ignoreCase,
                                       bool nonAsciiAlike);

// The match unit of every UTF-16 unit (65 536 entries), as toMatchUnits applies it.
const std::int32_t* matchUnitTable(bool ignoreCase, bool nonAsciiAlike);

} // namespace mz
