// Digests through the system's cryptography provider (CNG), fed in pieces.
#pragma once

#include <windows.h>
#include <bcrypt.h>

#include <cstddef>
#include <string>

#include "base/handles.h"

class Digest {
public:
    // `algorithm` is a CNG algorithm id such as BCRYPT_SHA256_ALGORITHM.
    explicit Digest(const wchar_t* algorithm);
    Digest(const Digest&) = delete;
    Digest& operator=(const Digest&) = delete;

    // False once any step has failed; later steps then do nothing.
    bool Add(const void* data, size_t size);
    // The digest as lower-case hex digits, in digest order; empty when a step failed.
    std::string FinishHex();

private:
    UniqueAlgorithm algorithm_;
    UniqueHash hash_;
    bool ok_ = false;
};

// The SHA-256 digest of the whole file as 64 lower-case hex digits; empty when the file
// cannot be read.
std::string Sha256FileHex(const std::wstring& path);
