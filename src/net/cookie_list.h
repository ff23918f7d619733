#pragma once

// Cookie lists: items "name=value" separated by ";" (or "; "), attributes
// stripped. An item ending in "=deleted" is a cookie the server removed.

#include "text/text.h"

namespace mz {

// Text before the item's first "=", trimmed; the whole item trimmed without one.
Text cookieName(std::string_view item);

// Removes every space from both lists (writing them back), then lists the new
// items first, the old ones the response did not set again after them, and
// drops deleted ones; items joined by "; ". The result is also written to cookies.
Text mergeCookieLists(Text& cookies, Text& newCookies);

// As mergeCookieLists, but only trims both lists, joins items by ";" and keeps
// each distinct item once.
Text mergeCookieListsEx(Text& cookies, Text& newCookies);

// The cookies a response header block sets, as "a=1; b=2": every line
// containing "Set-Cookie" contributes the value after "Set-Cookie:" up to ";".
Text setCookieList(std::string_view rawHeaders);

// As setCookieList, but only lines named exactly "Set-Cookie" count.
Text setCookieListEx(std::string_view rawHeaders);

} // namespace mz
