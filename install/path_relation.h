// How two paths relate: one inside the other, one the parent of the other.
#pragma once

#include <string>

// True when `path` names something strictly below `dir`: `dir` is a case-insensitive
// prefix of `path` and a separator follows it, so C:\A\App2\x is not below C:\A\App.
// Both are compared as given; callers pass full paths in one form.
bool IsPathBelow(const std::wstring& path, const std::wstring& dir);

// The text before the last "\" or "/"; empty when there is none.
std::wstring ParentDir(const std::wstring& path);

// The text after the last "\" or "/"; the whole path when there is none.
std::wstring LastComponent(const std::wstring& path);

// True when the directory's last component is the product's install folder name (any letter
// case): the only directories removed with everything in them or trusted from the registry.
bool IsNamedLikeInstallDir(const std::wstring& dir);

// True when the path begins with two separators in any mix of "\" and "/": a network path
// ("\\server\share", "//server/share", "\\?\UNC\server"), or a device path that may be one.
bool StartsLikeNetworkPath(const std::wstring& path);
