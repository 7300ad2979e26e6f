#include "report/md5_hex.h"

#include <windows.h>
#include <bcrypt.h>

#include "app/win_handle.h"

namespace {

struct AlgorithmTraits {
    using Handle = BCRYPT_ALG_HANDLE;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle handle) { BCryptCloseAlgorithmProvider(handle, 0); }
};
using UniqueAlgorithm = UniqueWinHandle<AlgorithmTraits>;

struct HashTraits {
    using Handle = BCRYPT_HASH_HANDLE;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle handle) { BCryptDestroyHash(handle); }
};
using UniqueHash = UniqueWinHandle<HashTraits>;

constexpr ULONG kMd5Bytes = 16;

}  // namespace

std::string Md5Hex(const void* data, size_t size) {
    BCRYPT_ALG_HANDLE rawAlgorithm = nullptr;
    if (!BCRYPT_SUCCESS(BCryptOpenAlgorithmProvider(&rawAlgorithm, BCRYPT_MD5_ALGORITHM, nullptr, 0))) {
        return "";
    }
    const UniqueAlgorithm algorithm(rawAlgorithm);
    // The provider sizes the hash object itself when none is given (Windows 7 and later).
    BCRYPT_HASH_HANDLE rawHash = nullptr;
    if (!BCRYPT_SUCCESS(BCryptCreateHash(algorithm.get(), &rawHash, nullptr, 0, nullptr, 0, 0))) {
        return "";
    }
    const UniqueHash hash(rawHash);
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
