// The user account the current process runs as, and granting it rights in an ACL.
#pragma once

#include <windows.h>

#include <memory>

// The TOKEN_USER block of `token` (opened with TOKEN_QUERY); null when it cannot be read.
std::unique_ptr<BYTE[]> ReadTokenUser(HANDLE token);

inline PSID TokenUserSid(const std::unique_ptr<BYTE[]>& block) {
    return reinterpret_cast<const TOKEN_USER*>(block.get())->User.Sid;
}

// A copy of `dacl` (may be null) in which `user` has exactly `rights` (SET_ACCESS) with the
// given inheritance; the result of SetEntriesInAclW. `merged` is freed with LocalFree.
DWORD MergeUserAccess(PACL dacl, PSID user, DWORD rights, DWORD inheritance, PACL* merged);
