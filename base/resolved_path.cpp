#include "base/resolved_path.h"

#include "base/string_util.h"

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

bool ResolvesTo(HANDLE handle, const std::wstring& resolved) {
    return !resolved.empty() && EqualsNoCase(FinalPathOf(handle), resolved);
}

// True when `fileId` is 0 (any file) or the open file's id.
bool IsListedFile(HANDLE handle, ULONGLONG fileId) {
    if (fileId == 0) return true;
    BY_HANDLE_FILE_INFORMATION info = {};
    return GetFileInformationByHandle(handle, &info) &&
           (static_cast<ULONGLONG>(info.nFileIndexHigh) << 32 | info.nFileIndexLow) == fileId;
}

}  // namespace

std::wstring FinalPathOf(HANDLE handle) {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetFinalPathNameByHandleW(handle, &path[0],
                                                       static_cast<DWORD>(path.size()), 0);
        if (length == 0) return L"";
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(length);  // the size needed, terminator included
    }
}

std::wstring ResolvedPath(const std::wstring& path) {
    const UniqueFileHandle file(CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                                            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return file ? FinalPathOf(file.get()) : L"";
}

std::wstring ResolvedBelow(const std::wstring& anchor, const std::wstring& full) {
    // "C:" alone would name the drive's current directory.
    std::wstring resolved = ResolvedPath(anchor.back() == L':' ? anchor + L"\\" : anchor);
    if (resolved.empty()) return L"";
    if (resolved.back() == L'\\') resolved.pop_back();
    return resolved + full.substr(anchor.size());
}

UniqueFileHandle OpenDirectoryInPlace(const std::wstring& path, const std::wstring& resolved,
                                      DWORD extraAccess, ULONGLONG fileId) {
    UniqueFileHandle dir(CreateFileW(path.c_str(),
                                     FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES | extraAccess,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                     FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info = {};
    if (!dir || !GetFileInformationByHandle(dir.get(), &info) ||
        !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || !ResolvesTo(dir.get(), resolved) ||
        !IsListedFile(dir.get(), fileId)) {
        return UniqueFileHandle();
    }
    return dir;
}

std::vector<DirectoryEntry> ListDirectory(HANDLE dir) {
    std::vector<DirectoryEntry> entries;
    alignas(8) unsigned char buffer[16384];
    FILE_INFO_BY_HANDLE_CLASS kind = FileIdBothDirectoryRestartInfo;
    while (GetFileInformationByHandleEx(dir, kind, buffer, sizeof(buffer))) {
        kind = FileIdBothDirectoryInfo;
        for (size_t offset = 0;;) {
            const auto* info = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(buffer + offset);
            std::wstring name(info->FileName, info->FileNameLength / sizeof(wchar_t));
            if (name != L"." && name != L"..") {
                entries.push_back({name, info->FileAttributes,
                                   static_cast<ULONGLONG>(info->FileId.QuadPart)});
            }
            if (info->NextEntryOffset == 0) break;
            offset += info->NextEntryOffset;
        }
    }
    return entries;
}

bool DeleteInPlace(const std::wstring& path, const std::wstring& resolved, bool clearReadOnly,
                   ULONGLONG fileId) {
    const UniqueFileHandle file(CreateFileW(
        path.c_str(), DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES, kShareAll, nullptr,
        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!file) return false;
    if (!ResolvesTo(file.get(), resolved) || !IsListedFile(file.get(), fileId)) {
        SetLastError(kResolvedElsewhere);
        return false;
    }
    FILE_BASIC_INFO basic = {};
    if (clearReadOnly &&
        GetFileInformationByHandleEx(file.get(), FileBasicInfo, &basic, sizeof(basic)) &&
        (basic.FileAttributes & FILE_ATTRIBUTE_READONLY)) {
        basic.FileAttributes &= ~FILE_ATTRIBUTE_READONLY;
        if (basic.FileAttributes == 0) basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
        basic.CreationTime.QuadPart = basic.LastAccessTime.QuadPart = 0;
        basic.LastWriteTime.QuadPart = basic.ChangeTime.QuadPart = 0;
        SetFileInformationByHandle(file.get(), FileBasicInfo, &basic, sizeof(basic));
    }
    FILE_DISPOSITION_INFO disposition = {TRUE};
    // The name goes when the handle closes, on the file that was opened and checked.
    return SetFileInformationByHandle(file.get(), FileDispositionInfo, &disposition,
                                      sizeof(disposition)) != FALSE;
}
