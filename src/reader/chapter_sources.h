#pragma once

// The chapter sources by BookSource code. Filled at start-up, read by every
// reader window, which makes its own sources from the factories.

#include "reader/chapter_source.h"

#include <map>
#include <memory>

namespace mz {

class ChapterSources {
  public:
    using Factory = std::function<std::unique_ptr<ChapterSource>(ReaderWindow& reader)>;

    // Registers the factory for code, replacing any earlier one.
    void add(const Text& code, Factory factory);

    // A new source for code, or nullptr when no flow handles the code.
    std::unique_ptr<ChapterSource> create(const Text& code, ReaderWindow& reader) const;

  private:
    std::map<Text, Factory> factories_;
};

} // namespace mz
