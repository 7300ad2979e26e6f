#include "base/digest.h"

#include <vector>

Digest::Digest(const wchar_t* algorithm) {
    // The provider sizes the hash object itself when none is given (Windows 7 and later).
    ok_ = BCRYPT_SUCCESS(BCryptOpenAlgorithmProvider(algorithm_.put(), algorithm, nullptr, 0)) &&
          BCRYPT_SUCCESS(BCryptCreateHash(algorithm_.get(), hash_.put(), nullptr, 0, nullptr, 0, 0));
}

bool Digest::Add(const void* data, size_t size) {
    const auto* bytes = static_cast<const UCHAR*>(data);
    // BCryptHashData takes at most a ULONG at a time.
    constexpr size_t kMaxPiece = 1u << 30;
    while (ok_ && size > 0) {
        const size_t piece = size < kMaxPiece ? size : kMaxPiece;
        ok_ = BCRYPT_SUCCESS(BCryptHashData(hash_.get(), const_cast<PUCHAR>(bytes),
                                            static_cast<ULONG>(piece), 0));
        bytes += piece;
        size -= piece;
    }
    return ok_;
}

std::string Digest::FinishHex() {
    ULONG length = 0, written = 0;
    if (!ok_ || !BCRYPT_SUCCESS(BCryptGetProperty(algorithm_.get(), BCRYPT_HASH_LENGTH,
                                                  reinterpret_cast<PUCHAR>(&length),
                                                  sizeof(length), &written, 0))) {
        return "";
    }
    std::vector<UCHAR> digest(length);
    ok_ = BCRYPT_SUCCESS(BCryptFinishHash(hash_.get(), digest.data(), length, 0));
    if (!ok_) return "";
    static const char kHex[] = "0123456789abcdef";
    std::string hex;
    for (UCHAR byte : digest) {
        hex += kHex[byte >> 4];
        hex += kHex[byte & 0x0F];
    }
    return hex;
}

std::string Sha256FileHex(const std::wstring& path) {
    UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return "";
    Digest digest(BCRYPT_SHA256_ALGORITHM);
    std::vector<char> buffer(1 << 20);
    DWORD read = 0;
    while (ReadFile(file.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr)) {
        if (read == 0) return digest.FinishHex();
        if (!digest.Add(buffer.data(), read)) return "";
    }
    return "";
}
