#include "reader/chapter_sources.h"

namespace mz {

void ChapterSources::add(const Text& code, Factory factory) {
    factories_[code] = std::move(factory);
}

std::unique_ptr<ChapterSource> ChapterSources::create(const Text& code,
                                                      ReaderWindow& reader) const {
    const auto found = factories_.find(code);
    return found == factories_.end() ? nullptr : found->second(reader);
}

} // namespace mz
