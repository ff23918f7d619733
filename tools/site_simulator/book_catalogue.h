#pragma once

// The books the simulator serves, looked up by id and by search word.

#include "sample_book.h"

#include <filesystem>
#include <string>
#include <vector>

namespace mz::sim {

class BookCatalogue {
  public:
    // The sample books written for the project.
    static BookCatalogue samples();

    void add(SampleBook book);

    // Adds the novels of the corpus folder that it recognises, split into
    // chapters at their headings; returns how many were added.
    int addCorpus(const std::filesystem::path& folder);

    const SampleBook* byId(int id) const;

    // Books whose title or author contains the UTF-8 word; none for an empty word.
    std::vector<const SampleBook*> find(const std::string& word) const;
    // Books whose title contains the word.
    std::vector<const SampleBook*> findByTitle(const std::string& word) const;

    const std::vector<SampleBook>& books() const { return books_; }

  private:
    std::vector<SampleBook> books_;
};

} // namespace mz::sim
