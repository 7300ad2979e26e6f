#include "install/file_removal.h"

#include <windows.h>

#include <algorithm>

#include "base/handles.h"

namespace {

bool IsLink(DWORD attributes) { return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0; }

// Removes a link without touching what it points to.
void RemoveLink(const std::wstring& path, DWORD attributes) {
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveDirectoryW(path.c_str());
    } else {
        DeleteFileW(path.c_str());
    }
}

}  // namespace

bool DeleteOrSchedule(const std::wstring& path) {
    if (path.empty()) return false;
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return false;
    }
    if (DeleteFileW(path.c_str())) return false;

    std::wstring copy = path;
    std::replace(copy.begin(), copy.end(), L'/', L'\\');
    const size_t slash = copy.rfind(L'\\');
    if (slash == std::wstring::npos) return false;
    const std::wstring dir = copy.substr(0, slash);
    wchar_t unique[MAX_PATH] = {};
    // The system creates this empty file to reserve the name; it stays beside the original.
    if (!GetTempFileNameW(dir.c_str(), L"", 0, unique)) return false;
    std::wstring stem = unique;
    stem = stem.substr(stem.rfind(L'\\') + 1);
    stem = stem.substr(0, stem.rfind(L'.'));
    const std::wstring newPath = copy + L"_" + stem + L".tmp";
    if (MoveFileExW(path.c_str(), newPath.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        return MoveFileExW(newPath.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) != FALSE;
    }
    return MoveFileExW(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) != FALSE;
}

void DeleteTree(const std::wstring& dir) {
    if (dir.empty()) return;
    const DWORD attributes = GetFileAttributesW(dir.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && IsLink(attributes)) {
        RemoveLink(dir, attributes);
        return;
    }
    {
        WIN32_FIND_DATAW entry = {};
        const UniqueFindHandle find(FindFirstFileW((dir + L"\\*").c_str(), &entry));
        if (!find) return;
        do {
            const std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring child = dir + L"\\" + name;
            if (IsLink(entry.dwFileAttributes)) {
                RemoveLink(child, entry.dwFileAttributes);
            } else if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                DeleteTree(child);
            } else {
                DeleteFileW(child.c_str());
            }
        } while (FindNextFileW(find.get(), &entry));
    }  // the enumeration is closed before its directory is removed
    RemoveDirectoryW(dir.c_str());
}
