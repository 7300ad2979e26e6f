#include "app/file_util.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <algorithm>

bool LaunchFile(const std::wstring& path, DWORD* error) {
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof(info);
    // No error box: a silent install must not stop on a dialog; the caller reports the code.
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.lpFile = path.c_str();
    info.lpParameters = L"";
    info.nShow = SW_SHOW;
    SetLastError(0);
    const bool ok = ShellExecuteExW(&info) != FALSE;
    if (error) *error = GetLastError();
    // Nobody waits for the started program; its handle is not kept.
    if (info.hProcess) CloseHandle(info.hProcess);
    return ok;
}

bool CreateDirectoryTree(const std::wstring& path) {
    std::wstring full = path;
    std::replace(full.begin(), full.end(), L'/', L'\\');
    size_t at = full.find(L'\\');
    while (at != std::wstring::npos && at > 0) {
        const std::wstring prefix = full.substr(0, at);
        if (!PathFileExistsW(prefix.c_str()) && !CreateDirectoryW(prefix.c_str(), nullptr)) {
            return false;
        }
        at = full.find(L'\\', at + 1);
    }
    return PathFileExistsW(full.c_str()) || CreateDirectoryW(full.c_str(), nullptr);
}
