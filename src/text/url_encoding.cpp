#include "text/url_encoding.h"

#include "text/script_object.h"

namespace mz {
namespace {

bool isKeptUnreserved(unsigned char byte) {
    return (byte >= 0x2D && byte <= 0x39 && byte != 0x2F) || (byte >= 'A' && byte <= 'Z') ||
           (byte >= 'a' && byte <= 'z');
}

} // namespace

Text percentEncode(std::string_view text, bool keepUnreserved, bool utf8) {
    static constexpr char hexDigits[] = "0123456789ABCDEF";
    const Bytes bytes = utf8 ? gbkToUtf8(text) : Bytes(text);
    Text encoded;
    encoded.reserve(bytes.size() * 3);
    for (unsigned char byte : bytes) {
        if (keepUnreserved && isKeptUnreserved(byte)) {
            encoded += static_cast<char>(byte);
            continue;
        }
        encoded += '%';
        encoded += hexDigits[byte >> 4];
        encoded += hexDigits[byte & 0x0F];
    }
    return encoded;
}

Text jsEncodeUri(const Text& text) {
    ScriptObject script;
    return script.run("encodeURI", {text});
}

} // namespace mz
