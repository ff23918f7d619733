#include "app/program_state.h"

namespace mz {
namespace {

void discard(Text& text) {
    Text().swap(text);
}

} // namespace

ProgramState::ProgramState()
    : searchPattern(std::make_unique<PatternObject>()),
      readerPattern(std::make_unique<PatternObject>()) {}

ProgramState::~ProgramState() {
    release();
}

void ProgramState::release() {
    discard(downloadLinksPage);
    searchPattern.reset();
    discard(chapterIndexPage);
    readerPattern.reset();
    discard(bookText);
    discard(chapterPage);
    discard(searchPage);
    discard(importFolder);
    discard(settingsPath);
}

} // namespace mz
