#include "reader/mapped_file.h"

namespace mz {

MappedFile::MappedFile(const std::filesystem::path& path)
    : file_(QFile::decodeName(QByteArray::fromStdString(path.string()))) {
    if (!file_.open(QIODevice::ReadOnly))
        return;
    const qint64 size = file_.size();
    if (size == 0) {
        open_ = true;
        return;
    }
    const uchar* map = file_.map(0, size);
    if (map == nullptr)
        return;
    data_ = reinterpret_cast<const char*>(map);
    size_ = static_cast<size_t>(size);
    open_ = true;
}

} // namespace mz
