#include "reader/local_book_loader.h"

#include <QMetaObject>

namespace mz {

LocalBookLoader::LocalBookLoader(QObject* parent) : QObject(parent) {}

LocalBookLoader::~LocalBookLoader() {
    cancelled_ = true;
    joinWorker();
}

bool LocalBookLoader::start(const std::filesystem::path& path, BookPieceReader::Mode mode,
                            std::function<BookEncoding()> choiceAtEnd) {
    if (loading_)
        return false;
    joinWorker();
    loading_ = true;
    cancelled_ = false;
    choiceAtEnd_ = std::move(choiceAtEnd);
    worker_ = std::thread([this, path, mode] { read(path, mode); });
    return true;
}

void LocalBookLoader::read(std::filesystem::path path, BookPieceReader::Mode mode) {
    BookPieceReader reader;
    if (!reader.open(path, mode)) {
        post([this] { finishWith([this] { emit failed(); }); });
        return;
    }
    auto bytes = std::make_shared<Bytes>();
    while (!cancelled_) {
        const std::optional<BookPieceReader::Piece> piece = reader.readPiece(*bytes);
        if (!piece) {
            post([this] { finishWith([this] { emit failed(); }); });
            return;
        }
        const int percent = piece->percent;
        post([this, percent] { emit progress(percent); });
        if (!piece->atEnd)
            continue;
        if (percent != 100) {
            post([this, percent] { finishWith([this, percent] { emit stopped(percent); }); });
            return;
        }
        // The encoding is chosen on the loader's thread, where the window lives.
        post([this, bytes] {
            joinWorker();
            const BookEncoding choice = choiceAtEnd_ ? choiceAtEnd_() : BookEncoding::None;
            worker_ = std::thread([this, bytes, choice] { decode(bytes, choice); });
        });
        return;
    }
}

void LocalBookLoader::decode(std::shared_ptr<Bytes> bytes, BookEncoding choice) {
    auto book = std::make_shared<LocalBook>(completeLocalBook(*bytes, choice));
    bytes.reset();
    if (cancelled_)
        return;
    post([this, book = std::move(book)] { finishWith([this, book] { emit completed(book); }); });
}

void LocalBookLoader::finishWith(const std::function<void()>& emitResult) {
    joinWorker();
    loading_ = false;
    emitResult();
}

void LocalBookLoader::post(std::function<void()> f) {
    // Queued on this object: dropped with it if the loader is destroyed first,
    // and the destructor waits for the worker, so no call outlives the loader.
    QMetaObject::invokeMethod(this, std::move(f), Qt::QueuedConnection);
}

void LocalBookLoader::joinWorker() {
    if (worker_.joinable() && worker_.get_id() != std::this_thread::get_id())
        worker_.join();
}

} // namespace mz
