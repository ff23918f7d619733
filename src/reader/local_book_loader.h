#pragma once

// Loads a local book off the user-interface thread: reads it in pieces,
// reporting each piece's progress, then decodes it and finds its chapters.
// Results arrive as signals on the loader's own thread; a loader runs one load
// at a time and a second start is refused while one runs.

#include "reader/book_encoding.h"
#include "reader/book_piece_reader.h"
#include "reader/local_book.h"

#include <QObject>

#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>
#include <thread>

namespace mz {

class LocalBookLoader : public QObject {
    Q_OBJECT

  public:
    explicit LocalBookLoader(QObject* parent = nullptr);
    ~LocalBookLoader() override; // stops a running load and waits for it

    bool isLoading() const { return loading_; }

    // Starts loading the file in the given read mode; choiceAtEnd is asked for
    // the encoding once the whole file has been read. False, and nothing
    // happens, while an earlier load runs.
    bool start(const std::filesystem::path& path, BookPieceReader::Mode mode,
               std::function<BookEncoding()> choiceAtEnd);

  signals:
    void progress(int percent);                      // after each piece
    void completed(std::shared_ptr<LocalBook> book); // decoded, chapters found
    void stopped(int percent);                       // the text ended below 100%: nothing to show
    void failed(); // the file could not be opened or read to its end

  private:
    void read(std::filesystem::path path, BookPieceReader::Mode mode);
    void decode(std::shared_ptr<Bytes> bytes, BookEncoding choice);
    void finishWith(const std::function<void()>& emitResult);
    // Runs f on the loader's thread, unless the loader is gone by then.
    void post(std::function<void()> f);
    void joinWorker();

    std::thread worker_;
    std::atomic<bool> cancelled_{false};
    bool loading_ = false;
    std::function<BookEncoding()> choiceAtEnd_;
};

} // namespace mz
