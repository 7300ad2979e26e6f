#include "install/path_below.h"

#include "app/string_util.h"

bool IsPathBelow(const std::wstring& path, const std::wstring& dir) {
    if (dir.empty() || path.size() <= dir.size() || !StartsWithNoCase(path, dir)) return false;
    const wchar_t last = dir.back();
    if (last == L'\\' || last == L'/') return true;
    const wchar_t next = path[dir.size()];
    return (next == L'\\' || next == L'/') && path.size() > dir.size() + 1;
}
