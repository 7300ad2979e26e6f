// Giving the installing user access to the installation directory.
#pragma once

#include <windows.h>

#include <string>

// Read, write and execute (no DELETE, no WRITE_DAC), inherited by files and subdirectories.
constexpr DWORD kDirectoryUserRights = 0x1201BF;
static_assert(kDirectoryUserRights == (FILE_GENERIC_READ | FILE_GENERIC_WRITE | FILE_GENERIC_EXECUTE),
              "the grant is exactly the generic file read, write and execute rights");

// Adds an entry for the process token's user to `dir`'s DACL unless it already grants the
// rights. Failures are written as lines to the standard error stream; a missing directory
// is left alone silently.
void GrantDirectoryAccess(const std::wstring& dir);

// True when the DACL lets `user` have every right of kDirectoryUserRights on the directory
// and everything created below it: an access-allowed entry for the user that holds all of
// them, applies to the directory itself and is inherited by files and subdirectories, and
// no access-denied entry for the user that takes any of them away.
bool HasDirectoryAccess(PACL dacl, PSID user);
