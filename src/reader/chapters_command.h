#pragma once

// `mozhou --chapters FILE [--encoding ansi|unicode|unicode-be|utf8|auto]`: loads
// a local book as the reader does, without a window, and prints the name of each
// chapter row in UTF-8, row 0 first, one per line.

#include <cstdio>
#include <optional>

namespace mz {

// Empty when the arguments do not ask for the chapter list; otherwise the
// program's exit status after printing it to out (errors go to err).
std::optional<int> runChaptersCommand(int argc, char** argv, std::FILE* out = stdout,
                                      std::FILE* err = stderr);

} // namespace mz
