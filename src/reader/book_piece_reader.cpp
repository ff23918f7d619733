#include "reader/book_piece_reader.h"

#include "reader/book_encoding.h"

#include <sys/stat.h>

namespace mz {
namespace {

long long fileLength(std::FILE* file) {
    struct stat status {};
    return fstat(fileno(file), &status) == 0 ? static_cast<long long>(status.st_size) : -1;
}

int percentOf(long long done, long long length) {
    return length <= 0 ? 100 : static_cast<int>(done * 100 / length);
}

} // namespace

bool BookPieceReader::open(const std::filesystem::path& path, Mode mode) {
    file_.reset(std::fopen(path.c_str(), "rb"));
    mode_ = mode;
    length_ = file_ ? fileLength(file_.get()) : -1;
    if (length_ < 0)
        file_.reset();
    return file_ != nullptr;
}

bool BookPieceReader::atTextEnd(long long position, long long length) {
    if (position >= length)
        return true;
    if (mode_ == Mode::Raw)
        return false;
    const int c = std::fgetc(file_.get());
    std::ungetc(c, file_.get());
    return c == EOF || c == 0 || c == 0x1A;
}

std::optional<BookPieceReader::Piece> BookPieceReader::readPiece(Bytes& bookText) {
    if (!file_)
        return std::nullopt;
    const long long position = ftello(file_.get());
    const long long length = length_;
    if (position < 0 || position > length) {
        file_.reset();
        return std::nullopt;
    }
    const long long size = position + pieceSize > length ? length - position : pieceSize;
    std::string piece(static_cast<size_t>(std::max(size, 0LL)), '\0');
    const size_t got = std::fread(piece.data(), 1, piece.size(), file_.get());
    if (got != piece.size()) {
        file_.reset();
        return std::nullopt;
    }
    std::string_view kept = piece;
    if (mode_ == Mode::Text) {
        kept = upToTextEnd(piece);
        if (kept.size() != piece.size())
            fseeko(file_.get(), position + static_cast<long long>(kept.size()), SEEK_SET);
    }
    bookText.append(kept);
    Piece result{percentOf(position + size, length), false};
    if (atTextEnd(position + static_cast<long long>(kept.size()), length)) {
        result.atEnd = true;
        file_.reset();
    }
    return result;
}

BookRead readWholeBook(const std::filesystem::path& path, BookPieceReader::Mode mode) {
    BookRead read;
    read.file = std::make_unique<MappedFile>(path);
    if (!read.file->isOpen())
        return read;
    read.opened = true;
    const std::string_view all = read.file->bytes();
    const auto length = static_cast<long long>(all.size());
    read.bytes = mode == BookPieceReader::Mode::Text ? upToTextEnd(all) : all;
    const auto end = static_cast<long long>(read.bytes.size());
    // The piece that holds the end of the text (or of the file) is the last one read.
    const auto piece = BookPieceReader::pieceSize;
    const long long lastPieceStart = end == 0 ? 0 : (end - 1) / piece * piece;
    read.lastPercent = percentOf(std::min(lastPieceStart + piece, length), length);
    read.complete = read.lastPercent == 100;
    return read;
}

} // namespace mz
