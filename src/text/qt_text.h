#pragma once

// The one pair of conversions between the program's GBK Text and QString, used
// only at the window boundary.

#include "text/text.h"

#include <QString>

namespace mz {

QString toQString(std::string_view text);
Text fromQString(const QString& string);

} // namespace mz
