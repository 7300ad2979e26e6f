#include "install/removal_scope.h"

#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include "base/file_util.h"
#include "base/resolved_path.h"
#include "base/string_util.h"
#include "config/ui_data.h"
#include "install/path_relation.h"

namespace {

// The absolute form of `path`, with "." and ".." resolved and "/" turned into "\".
std::wstring FullPath(const std::wstring& path) {
    const DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0) return L"";
    std::wstring full(needed, L'\0');
    const DWORD length = GetFullPathNameW(path.c_str(), needed, &full[0], nullptr);
    if (length == 0 || length >= needed) return L"";
    full.resize(length);
    return full;
}

std::wstring WithoutTrailingSeparator(std::wstring path) {
    while (path.size() > 3 && path.back() == L'\\') path.pop_back();
    return path;
}

// True when a directory from `top` down to `path`'s parent is a link: a path written below
// the installation directory could otherwise reach anywhere, also when the installation
// directory itself was replaced by a link after its list was read.
bool PassesThroughLink(const std::wstring& path, const std::wstring& top) {
    for (std::wstring dir = ParentDir(path); dir.size() >= top.size(); dir = ParentDir(dir)) {
        const DWORD attributes = GetFileAttributesW(dir.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
            return true;
        }
    }
    return false;
}

// The full path with short names made long; empty for a path that does not exist.
std::wstring LongFullPath(const std::wstring& path) {
    const std::wstring full = FullPath(path);
    if (full.empty()) return L"";
    const DWORD needed = GetLongPathNameW(full.c_str(), nullptr, 0);
    if (needed == 0) return L"";
    std::wstring result(needed, L'\0');
    const DWORD length = GetLongPathNameW(full.c_str(), &result[0], needed);
    if (length == 0 || length >= needed) return L"";
    result.resize(length);
    return WithoutTrailingSeparator(result);
}

bool IsCreatedShortcut(const std::wstring& full) {
    const std::wstring desktop = SpecialFolder(CSIDL_DESKTOPDIRECTORY);
    if (!desktop.empty() && EqualsNoCase(full, JoinPath(desktop, App_Desktop_Link + L".lnk"))) {
        return true;
    }
    const std::wstring startMenu = SpecialFolder(CSIDL_COMMON_STARTMENU);
    if (startMenu.empty() || App_Desktop_Link.empty()) return false;
    const std::wstring folder = FullPath(JoinPath(startMenu, L"programs\\" + App_Desktop_Link));
    return EqualsNoCase(full, folder) ||
           (EqualsNoCase(ParentDir(full), folder) && EndsWithNoCase(full, L".lnk"));
}

}  // namespace

bool ResolveRemovalEntry(const std::wstring& entry, const std::wstring& installDir,
                         std::wstring* path, std::wstring* resolved) {
    const std::wstring base = WithoutTrailingSeparator(FullPath(installDir));
    if (entry.empty() || base.empty()) return false;
    const std::wstring named = entry[0] == L'\\' && (entry.size() < 2 || entry[1] != L'\\')
                                   ? installDir + entry
                                   : entry;
    const std::wstring full = WithoutTrailingSeparator(FullPath(named));
    if (full.empty()) return false;
    const bool inside = IsPathBelow(full, base) && !PassesThroughLink(full, base);
    if (!inside && !IsCreatedShortcut(full)) return false;
    *path = full;
    // The installation directory itself must not be a link either.
    *resolved = ResolvedBelow(ParentDir(inside ? base : full), full);
    return true;
}

bool IsSameDirectory(const std::wstring& a, const std::wstring& b) {
    if (a.empty() || b.empty()) return false;
    const std::wstring first = LongFullPath(a);
    return !first.empty() && EqualsNoCase(first, LongFullPath(b)) &&
           PathIsDirectoryW(first.c_str());
}
