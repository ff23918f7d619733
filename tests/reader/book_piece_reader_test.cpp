#include "reader/book_piece_reader.h"

#include "support/file_bytes.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace mz {
namespace {

using Mode = BookPieceReader::Mode;

class BookPieceReaderTest : public ::testing::Test {
  protected:
    std::filesystem::path write(const std::string& bytes) {
        return test::writeBytes(std::filesystem::path(dir_.path().toStdString()) / "book.txt",
                                bytes);
    }

    QTemporaryDir dir_;
};

struct Outcome {
    std::vector<int> percents;
    bool reachedEnd = false;
    Bytes text;
};

Outcome readAllPieces(const std::filesystem::path& path, Mode mode) {
    Outcome outcome;
    BookPieceReader reader;
    EXPECT_TRUE(reader.open(path, mode));
    for (int guard = 0; guard < 1000; ++guard) {
        const auto piece = reader.readPiece(outcome.text);
        if (!piece)
            break;
        outcome.percents.push_back(piece->percent);
        if (piece->atEnd) {
            outcome.reachedEnd = true;
            break;
        }
    }
    EXPECT_FALSE(reader.isOpen());
    return outcome;
}

// A file of `size` bytes of text with `stop` placed at the given offset.
std::string book(size_t size, size_t stopAt = std::string::npos, char stop = '\0') {
    std::string bytes(size, 'a');
    for (size_t i = 0; i < size; i += 97)
        bytes[i] = '\n';
    if (stopAt < size)
        bytes[stopAt] = stop;
    return bytes;
}

TEST_F(BookPieceReaderTest, ReadsPiecesWithTheirProgress) {
    const struct {
        const char* name;
        std::string bytes;
        Mode mode;
        std::vector<int> percents;
        size_t kept; // bytes of the file that reach the text
    } cases[] = {
        {"several pieces", book(250000), Mode::Text, {40, 80, 100}, 250000},
        {"exactly one piece", book(100000), Mode::Text, {100}, 100000},
        {"one byte", book(1), Mode::Text, {100}, 1},
        {"empty file completes", "", Mode::Text, {100}, 0},
        {"percent is floored", book(300001), Mode::Text, {33, 66, 99, 100}, 300001},
        {"NUL in the last piece", book(250000, 230000), Mode::Text, {40, 80, 100}, 230000},
        {"0x1A in the last piece", book(250000, 230000, '\x1A'), Mode::Text, {40, 80, 100}, 230000},
        {"NUL in an earlier piece", book(250000, 150000), Mode::Text, {40, 80}, 150000},
        {"0x1A opening a piece", book(250000, 100000, '\x1A'), Mode::Text, {40}, 100000},
        {"NUL first", book(250000, 0), Mode::Text, {40}, 0},
        {"raw keeps NUL", book(250000, 150000), Mode::Raw, {40, 80, 100}, 250000},
    };
    for (const auto& c : cases) {
        const auto path = write(c.bytes);
        const Outcome outcome = readAllPieces(path, c.mode);
        EXPECT_EQ(outcome.percents, c.percents) << c.name;
        EXPECT_TRUE(outcome.reachedEnd) << c.name;
        EXPECT_TRUE(outcome.text == c.bytes.substr(0, c.kept)) << c.name;

        // The one-read path used without a window agrees with the pieces.
        const BookRead whole = readWholeBook(path, c.mode);
        EXPECT_TRUE(whole.opened) << c.name;
        EXPECT_EQ(whole.lastPercent, c.percents.back()) << c.name;
        EXPECT_EQ(whole.complete, c.percents.back() == 100) << c.name;
        EXPECT_TRUE(whole.bytes == outcome.text) << c.name;
    }
}

TEST_F(BookPieceReaderTest, MissingFileDoesNotOpen) {
    BookPieceReader reader;
    const auto path = std::filesystem::path(dir_.path().toStdString()) / "absent.txt";
    EXPECT_FALSE(reader.open(path, Mode::Text));
    Bytes text;
    EXPECT_FALSE(reader.readPiece(text).has_value());
    EXPECT_FALSE(readWholeBook(path, Mode::Text).opened);
}

TEST_F(BookPieceReaderTest, FileCutShortWhileLoadingFails) {
    const auto path = write(book(250000));
    BookPieceReader reader;
    ASSERT_TRUE(reader.open(path, Mode::Text));
    Bytes text;
    ASSERT_TRUE(reader.readPiece(text).has_value());
    std::filesystem::resize_file(path, 150000); // mid-piece
    EXPECT_FALSE(reader.readPiece(text).has_value());
    EXPECT_FALSE(reader.isOpen());

    ASSERT_TRUE(reader.open(path, Mode::Raw));
    ASSERT_TRUE(reader.readPiece(text).has_value());
    std::filesystem::resize_file(path, 0); // before the next piece
    EXPECT_FALSE(reader.readPiece(text).has_value());
}

} // namespace
} // namespace mz
