#include "sample_book.h"

namespace mz::sim {

std::string SampleBook::sizeText() const {
    size_t bytes = plainText().size();
    return std::to_string(bytes / 1024 + 1) + "K";
}

const SampleChapter* SampleBook::chapter(int n) const {
    if (n < 1 || static_cast<size_t>(n) > chapters.size())
        return nullptr;
    return &chapters[static_cast<size_t>(n - 1)];
}

std::string SampleBook::plainText() const {
    std::string text = title + "\r\n" + author + "\r\n";
    for (const SampleChapter& chapter : chapters) {
        text += "\r\n" + chapter.title + "\r\n";
        for (const std::string& paragraph : chapter.paragraphs)
            text += "\u3000\u3000" + paragraph + "\r\n";
    }
    return text;
}

} // namespace mz::sim
