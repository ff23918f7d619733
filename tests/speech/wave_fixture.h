#pragma once

#include <QString>

#include <string>

namespace mz::test {

// A short, valid 8 kHz 16-bit mono WAV file of silence.
std::string silentWave();

// Writes bytes to path; false when the file cannot be written.
bool writeFile(const QString& path, const std::string& bytes);

} // namespace mz::test
