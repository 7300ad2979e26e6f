#include "install/file_removal.h"

#include <windows.h>

#include <algorithm>

#include "base/handles.h"
#include "base/resolved_path.h"

bool DeleteOrSchedule(const std::wstring& path, std::wstring* scheduledAs) {
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
    // The system creates this empty file to reserve a unique stem; the file itself is not
    // used and goes again at once.
    if (!GetTempFileNameW(dir.c_str(), L"", 0, unique)) return false;
    DeleteFileW(unique);
    std::wstring stem = unique;
    stem = stem.substr(stem.rfind(L'\\') + 1);
    stem = stem.substr(0, stem.rfind(L'.'));
    const std::wstring newPath = copy + L"_" + stem + L".tmp";
    const std::wstring& name =
        MoveFileExW(path.c_str(), newPath.c_str(), MOVEFILE_REPLACE_EXISTING) ? newPath : path;
    if (!MoveFileExW(name.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) return false;
    if (scheduledAs) *scheduledAs = name;
    return true;
}

namespace {

// DeleteTree for a directory that a listing showed with `fileId` (0: any).
void DeleteListedTree(const std::wstring& dir, const std::wstring& resolved, ULONGLONG fileId) {
    // Held without sharing deletion: the directory cannot be swapped for a link while what
    // is in it goes.
    UniqueFileHandle held = OpenDirectoryInPlace(dir, resolved, DELETE, fileId);
    const bool deletable = static_cast<bool>(held);
    if (!held && GetLastError() == ERROR_SHARING_VIOLATION) {
        // Open elsewhere without sharing deletion (a program's current directory, say): what
        // is in it goes all the same, the directory itself stays.
        held = OpenDirectoryInPlace(dir, resolved, 0, fileId);
    }
    if (!held) {
        // Missing, or a link: removed as a link where the system allows it, never followed.
        DeleteInPlace(dir, resolved, false, fileId);
        return;
    }
    for (const DirectoryEntry& entry : ListDirectory(held.get())) {
        const std::wstring child = dir + L"\\" + entry.name;
        const std::wstring childResolved = resolved + L"\\" + entry.name;
        if ((entry.attributes & FILE_ATTRIBUTE_DIRECTORY) &&
            !(entry.attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
            DeleteListedTree(child, childResolved, entry.fileId);
        } else {
            DeleteInPlace(child, childResolved, false, entry.fileId);
        }
    }
    if (!deletable) return;
    FILE_DISPOSITION_INFO disposition = {TRUE};
    SetFileInformationByHandle(held.get(), FileDispositionInfo, &disposition, sizeof(disposition));
}

}  // namespace

void DeleteTree(const std::wstring& dir, const std::wstring& resolved) {
    if (!dir.empty()) DeleteListedTree(dir, resolved, 0);
}
