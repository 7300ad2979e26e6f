#include "report/md5_hex.h"

#include <windows.h>
#include <bcrypt.h>

#include "base/handles.h"

namespace {

constexpr ULONG kMd5Bytes = 16;

}  // namespace

std::string Md5Hex(const void* data, size_t size) {
    UniqueAlgorithm algorithm;
    if (!BCRYPT_SUCCESS(BCryptOpenAlgorithmProvider(algorithm.put(), BCRYPT_MD5_ALGORITHM, nullptr, 0))) {
        return "";
    }
    // The provider sizes the hash object itself when none is given (Windows 7 and later).
    UniqueHash hash;
    if (!BCRYPT_SUCCESS(BCryptCreateHash(algorithm.get(), hash.put(), nullptr, 0, nullptr, 0, 0))) {
        return "";
    }
    UCHAR digest[kMd5Bytes] = {};
    if (!BCRYPT_SUCCESS(BCryptHashData(hash.get(),
                                       static_cast<PUCHAR>(const_cast<void*>(data)),
                                       static_cast<ULONG>(size), 0)) ||
        !BCRYPT_SUCCESS(BCryptFinishHash(hash.get(), digest, kMd5Bytes, 0))) {
        return "";
    }
    static const char kHex[] = "0123456789abcdef";
    std::string hex;
    for (UCHAR byte : digest) {
        hex += kHex[byte >> 4];
        hex += kHex[byte & 0x0F];
    }
    return hex;
}
