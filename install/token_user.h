// The user account the current process runs as.
#pragma once

#include <windows.h>

#include <memory>

// The TOKEN_USER block of `token` (opened with TOKEN_QUERY); null when it cannot be read.
std::unique_ptr<BYTE[]> ReadTokenUser(HANDLE token);

inline PSID TokenUserSid(const std::unique_ptr<BYTE[]>& block) {
    return reinterpret_cast<const TOKEN_USER*>(block.get())->User.Sid;
}
