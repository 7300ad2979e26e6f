// MD5 digests through the system's cryptography provider (CNG).
#pragma once

#include <cstddef>
#include <string>

// The digest of `size` bytes as 32 lower-case hex digits, in digest order; empty when the
// provider fails.
std::string Md5Hex(const void* data, size_t size);
