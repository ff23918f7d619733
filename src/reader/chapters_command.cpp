#include "reader/chapters_command.h"

#include "reader/book_piece_reader.h"
#include "reader/local_book.h"
#include "text/code_page.h"

#include <array>
#include <cstring>
#include <filesystem>
#include <string_view>

namespace mz {
namespace {

constexpr std::array<std::pair<std::string_view, BookEncoding>, 5> encodingNames{{
    {"ansi", BookEncoding::Ansi},
    {"unicode", BookEncoding::Unicode},
    {"unicode-be", BookEncoding::UnicodeBigEndian},
    {"utf8", BookEncoding::Utf8},
    {"auto", BookEncoding::AutoDetect},
}};

constexpr const char* usage =
    "Usage: mozhou --chapters FILE [--encoding ansi|unicode|unicode-be|utf8|auto]";

struct Options {
    const char* file = nullptr;
    BookEncoding encoding = BookEncoding::AutoDetect;
};

std::optional<BookEncoding> encodingNamed(std::string_view name) {
    for (const auto& [text, encoding] : encodingNames) {
        if (text == name)
            return encoding;
    }
    return std::nullopt;
}

// Empty with a message on err when the arguments are wrong.
std::optional<Options> parse(int argc, char** argv, std::FILE* err) {
    Options options;
    for (int i = 0; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if ((arg != "--chapters" && arg != "--encoding") || i + 1 >= argc) {
            std::fprintf(err, "%s\n", usage);
            return std::nullopt;
        }
        const char* value = argv[++i];
        if (arg == "--chapters") {
            options.file = value;
        } else if (const auto encoding = encodingNamed(value)) {
            options.encoding = *encoding;
        } else {
            std::fprintf(err, "mozhou: unknown encoding \"%s\"\n", value);
            return std::nullopt;
        }
    }
    return options;
}

void printRows(const std::vector<Text>& names, std::FILE* out) {
    std::string lines;
    for (const Text& name : names) {
        std::string_view row = name;
        if (!row.empty() && row.back() == '\r')
            row.remove_suffix(1);
        lines += gbkToUtf8(row);
        lines += '\n';
    }
    std::fwrite(lines.data(), 1, lines.size(), out);
}

} // namespace

int runChaptersCommand(int argc, char** argv, std::FILE* out, std::FILE* err) {
    const std::optional<Options> options = parse(argc, argv, err);
    if (!options || options->file == nullptr) {
        if (options)
            std::fprintf(err, "%s\n", usage);
        return 2;
    }
    const std::filesystem::path path = options->file;
    std::error_code error;
    if (!std::filesystem::exists(path, error) || !hasBookSuffix(options->file)) {
        std::fprintf(err, "mozhou: %s: no such .txt book\n", options->file);
        return 1;
    }
    const auto mode =
        readsRawBytes(options->encoding) ? BookPieceReader::Mode::Raw : BookPieceReader::Mode::Text;
    BookRead read = readWholeBook(path, mode);
    if (!read.opened) {
        std::fprintf(err, "mozhou: %s: cannot be read\n", options->file);
        return 1;
    }
    if (!read.complete) {
        std::fprintf(err,
                     "mozhou: %s: loading stopped at %d%% (a NUL or 0x1A byte ends the text)\n",
                     options->file, read.lastPercent);
        return 1;
    }
    // ANSI needs no conversion: the mapped bytes are the text.
    Text decoded;
    const std::string_view text =
        keepsBytes(options->encoding)
            ? trimmedView(read.bytes)
            : std::string_view(decoded = decodeBookText(read.bytes, options->encoding));
    printRows(chapterRowNames(text), out);
    return 0;
}

} // namespace mz
