#include "speech/md5_hex.h"

#include <openssl/evp.h>

#include <memory>

namespace mz {

Text md5Hex(std::string_view bytes) {
    std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> context(EVP_MD_CTX_new(),
                                                                    &EVP_MD_CTX_free);
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    // MD5 may be missing, e.g. from a provider set restricted to approved digests.
    if (!context || EVP_DigestInit_ex(context.get(), EVP_md5(), nullptr) != 1 ||
        EVP_DigestUpdate(context.get(), bytes.data(), bytes.size()) != 1 ||
        EVP_DigestFinal_ex(context.get(), digest, &length) != 1 || length != 16)
        return {};
    static constexpr char hexDigits[] = "0123456789abcdef";
    Text hex;
    hex.reserve(2 * length);
    for (unsigned int i = 0; i < length; ++i) {
        hex += hexDigits[digest[i] >> 4];
        hex += hexDigits[digest[i] & 0x0F];
    }
    return hex;
}

} // namespace mz
