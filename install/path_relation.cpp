#include "install/path_relation.h"

#include "base/string_util.h"
#include "config/ui_data.h"

bool IsPathBelow(const std::wstring& path, const std::wstring& dir) {
    if (dir.empty() || path.size() <= dir.size() || !StartsWithNoCase(path, dir)) return false;
    const wchar_t last = dir.back();
    if (last == L'\\' || last == L'/') return true;
    const wchar_t next = path[dir.size()];
    return (next == L'\\' || next == L'/') && path.size() > dir.size() + 1;
}

std::wstring ParentDir(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? L"" : path.substr(0, slash);
}

std::wstring LastComponent(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

bool IsNamedLikeInstallDir(const std::wstring& dir) {
    return !Install_Dir.empty() && EqualsNoCase(LastComponent(dir), Install_Dir);
}

bool StartsLikeNetworkPath(const std::wstring& path) {
    const auto separator = [](wchar_t c) { return c == L'\\' || c == L'/'; };
    return path.size() >= 2 && separator(path[0]) && separator(path[1]);
}
