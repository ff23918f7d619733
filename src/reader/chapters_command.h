#pragma once

// `mozhou --chapters FILE [--encoding ansi|unicode|unicode-be|utf8|auto]`: loads
// a local book as the reader does, without a window, and prints the name of each
// chapter row in UTF-8, row 0 first, one per line.

#include <cstdio>

namespace mz {

// argv[0] is the "--chapters" flag itself. Prints the rows to out (errors to
// err) and returns the program's exit status.
int runChaptersCommand(int argc, char** argv, std::FILE* out = stdout, std::FILE* err = stderr);

} // namespace mz
