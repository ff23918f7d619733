#pragma once

// Reads a local book in pieces of 100 000 bytes so that the caller can report
// progress and keep its window responsive between pieces.
//
// In text mode a piece ends early at the first NUL or 0x1A byte, the position is
// left on it and the file counts as ended there; raw mode reads every byte.

#include "reader/mapped_file.h"
#include "text/text.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>

namespace mz {

class BookPieceReader {
  public:
    static constexpr long long pieceSize = 100000;

    enum class Mode { Text, Raw };

    struct Piece {
        int percent = 0;    // floor((P + S) * 100 / L); 100 for an empty file
        bool atEnd = false; // the file is done and has been closed
    };

    // Opens the file at its start and takes its length; false when it cannot be
    // opened.
    bool open(const std::filesystem::path& path, Mode mode);

    // Appends the next piece to bookText. Empty when the file can no longer be
    // read (removed or cut short while loading); the file is then closed.
    std::optional<Piece> readPiece(Bytes& bookText);

    bool isOpen() const { return file_ != nullptr; }

  private:
    struct Closer {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };

    bool atTextEnd(long long position, long long length);

    std::unique_ptr<std::FILE, Closer> file_;
    Mode mode_ = Mode::Text;
    long long length_ = -1; // taken at opening: a file cut short later fails to read
};

// The outcome of reading a whole book, with the same rules as the piece reader,
// through one mapping of the file.
struct BookRead {
    bool opened = false;              // false: missing or unreadable
    bool complete = false;            // progress reached 100
    int lastPercent = 0;              // the last progress the piece reader would post
    std::string_view bytes;           // what the piece reader would have appended
    std::unique_ptr<MappedFile> file; // holds bytes
};

BookRead readWholeBook(const std::filesystem::path& path, BookPieceReader::Mode mode);

} // namespace mz
