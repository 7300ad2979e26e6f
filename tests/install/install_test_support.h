// Helpers of the installation tests.
#pragma once

#include <windows.h>

#include <string>

// A subkey name of the Uninstall key that no other test uses; the key is deleted when the
// object is made and when it goes away. Sets REG_KEY to the name for the test's duration.
class ScratchUninstallKey {
public:
    ScratchUninstallKey();
    ~ScratchUninstallKey();
    ScratchUninstallKey(const ScratchUninstallKey&) = delete;
    ScratchUninstallKey& operator=(const ScratchUninstallKey&) = delete;
    const std::wstring& name() const { return name_; }
    std::wstring path() const;

private:
    std::wstring name_;
    std::wstring savedRegKey_;
};

// Copies a fixture program or DLL to `path`; false when it could not be copied.
bool CopyFixture(const std::wstring& fixture, const std::wstring& path);

// Starts `exe` with `arguments`; the process handle, or null.
HANDLE StartProgram(const std::wstring& exe, const std::wstring& arguments);

// Waits up to `ms` for a file to appear; whether it is there.
bool WaitForFile(const std::wstring& path, DWORD ms);

// The whole UTF-16 text a fixture program wrote.
std::wstring ReadWideFile(const std::wstring& path);
