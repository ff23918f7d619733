#include "text/whole_file.h"

#include <QSaveFile>

namespace mz {

// Unbuffered: a buffered short write (disk full, file-size limit) can go unnoticed
// until commit, which then keeps the truncated file.
WriteResult writeWholeFile(const QString& path, std::string_view bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return {false, file.errorString()};
    const auto size = static_cast<qint64>(bytes.size());
    if (file.write(bytes.data(), size) != size) {
        const QString error = file.errorString();
        file.cancelWriting();
        return {false, error.isEmpty() ? QStringLiteral("the disk took only part of it") : error};
    }
    if (!file.commit())
        return {false, file.errorString()};
    return {};
}

} // namespace mz
