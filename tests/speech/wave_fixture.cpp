#include "wave_fixture.h"

#include <QFile>

namespace mz::test {

std::string silentWave() {
    // RIFF size 36 + 1600, PCM, 1 channel, 8000 Hz, 16000 bytes/s, align 2, 16 bits.
    std::string wave("RIFF\x64\x06\x00\x00WAVEfmt \x10\x00\x00\x00\x01\x00\x01\x00"
                     "\x40\x1F\x00\x00\x80\x3E\x00\x00\x02\x00\x10\x00"
                     "data\x40\x06\x00\x00",
                     44);
    wave.append(1600, '\0');
    return wave;
}

bool writeFile(const QString& path, const std::string& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) &&
           file.write(bytes.data(), static_cast<qint64>(bytes.size())) ==
               static_cast<qint64>(bytes.size());
}

} // namespace mz::test
