#include "base/file_util.h"

#include <shlobj.h>
#include <shlwapi.h>

#include <algorithm>
#include <new>

std::wstring SpecialFolder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathW(nullptr, path, csidl, FALSE)) return L"";
    return path;
}

std::wstring SystemFolder(UINT(WINAPI* read)(LPWSTR, UINT)) {
    wchar_t path[MAX_PATH] = {};
    const UINT length = read(path, MAX_PATH);
    return length > 0 && length < MAX_PATH ? path : L"";
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

std::unique_ptr<char[]> ReadWholeFile(const std::wstring& path, DWORD* size) {
    UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return nullptr;
    DWORD high = 0;
    const DWORD length = GetFileSize(file.get(), &high);
    // A file of 4 GiB or more cannot pass for a small one through its low 32 bits.
    if (length == INVALID_FILE_SIZE || high != 0 || length == 0 || length > kMaxWholeFileSize) {
        return nullptr;
    }
    std::unique_ptr<char[]> buffer(new (std::nothrow) char[length + 2]);
    if (!buffer) return nullptr;
    buffer[length] = buffer[length + 1] = 0;
    DWORD read = 0;
    if (!ReadFile(file.get(), buffer.get(), length, &read, nullptr) || read != length) {
        return nullptr;
    }
    if (size) *size = length;
    return buffer;
}

namespace {

unsigned long long DirectoryBytes(const std::wstring& dir) {
    WIN32_FIND_DATAW entry = {};
    UniqueFindHandle find(FindFirstFileW((dir + L"\\*").c_str(), &entry));
    if (!find) return 0;
    unsigned long long bytes = 0;
    do {
        const std::wstring name = entry.cFileName;
        if (name == L"." || name == L"..") continue;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            // A link to a directory elsewhere holds nothing of this tree.
            if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
                bytes += DirectoryBytes(dir + L"\\" + name);
            }
        } else {
            bytes += static_cast<unsigned long long>(entry.nFileSizeHigh) << 32 | entry.nFileSizeLow;
        }
    } while (FindNextFileW(find.get(), &entry));
    return bytes;
}

}  // namespace

DWORD DirectorySizeKb(const std::wstring& dir) {
    const unsigned long long kb = (DirectoryBytes(dir) + 1023) / 1024;
    return kb > MAXDWORD ? MAXDWORD : static_cast<DWORD>(kb);
}
