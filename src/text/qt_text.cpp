#include "text/qt_text.h"

#include "text/code_page.h"

namespace mz {

QString toQString(std::string_view text) {
    std::u16string wide = multiByteToWide(text, codePageGbk);
    return QString(reinterpret_cast<const QChar*>(wide.data()),
                   static_cast<qsizetype>(wide.size()));
}

Text fromQString(const QString& string) {
    return wideToMultiByte(std::u16string_view(reinterpret_cast<const char16_t*>(string.utf16()),
                                               static_cast<size_t>(string.size())),
                           codePageGbk);
}

} // namespace mz
