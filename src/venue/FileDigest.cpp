#include "FileDigest.h"

#include <openssl/evp.h>

#include <array>
#include <cstdio>

std::string Sha256Hex(std::span<const uint8_t> bytes)
{
    std::array<unsigned char, EVP_MAX_MD_SIZE> digest{};
    unsigned int nDigest = 0;
    if (!EVP_Digest(bytes.data(), bytes.size(), digest.data(), &nDigest, EVP_sha256(), nullptr))
        return "";
    std::string strHex;
    for (unsigned int i = 0; i < nDigest; ++i) {
        char pair[3];
        std::snprintf(pair, sizeof pair, "%02x", digest[i]);
        strHex += pair;
    }
    return strHex;
}
