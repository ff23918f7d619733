#pragma once

// The twelve values the whole program shares for one run. main owns the one
// instance and hands it to the windows; nothing else is program-wide.

#include "text/pattern_object.h"
#include "text/text.h"

#include <cstdio>
#include <memory>

namespace mz {

struct ProgramState {
    // Creates the two pattern objects, searchPattern first.
    ProgramState();
    ~ProgramState();
    ProgramState(const ProgramState&) = delete;
    ProgramState& operator=(const ProgramState&) = delete;

    // Frees the values at the end of the run, in a fixed order. An open book file
    // is left to the process end. Runs once; the destructor calls it too.
    void release();

    Text downloadLinksPage;                       // page of a book's download links
    std::unique_ptr<PatternObject> searchPattern; // search and download tabs
    Text chapterIndexPage;                        // chapter index page of an online book
    std::unique_ptr<PatternObject> readerPattern; // reader window
    Text bookText;                                // whole text of the open local book
    std::FILE* bookFile = nullptr;                // the local book while it loads
    int currentChapter = 0;                       // row last shown in the reader; survives it
    Text chapterPage;                             // chapter page of an online book
    Text searchPage;                              // last search result page
    Text importFolder;                            // folder last chosen for import
    Text settingsPath;                            // full path of "config.ini"
    int hotkeyId = 0;                             // hot-key registration, 0 when refused
};

} // namespace mz
