#pragma once

// A book the simulator serves on every site. Texts are UTF-8; each page
// builder converts them to its site's encoding.

#include <string>
#include <vector>

namespace mz::sim {

struct SampleChapter {
    std::string title;
    std::vector<std::string> paragraphs; // a chapter without paragraphs is still served
};

struct SampleBook {
    int id = 0;
    std::string title;
    std::string author;
    std::string category;
    std::string state;
    std::string updated;
    std::vector<SampleChapter> chapters;

    // Size as the sites show it, e.g. "12K".
    std::string sizeText() const;
    // The chapter with 1-based number n, or null.
    const SampleChapter* chapter(int n) const;
    // The whole book as plain text: title lines and paragraphs, CR LF.
    std::string plainText() const;
};

} // namespace mz::sim
