// Whether a path lies inside a directory.
#pragma once

#include <string>

// True when `path` names something strictly below `dir`: `dir` is a case-insensitive
// prefix of `path` and a separator follows it, so C:\A\App2\x is not below C:\A\App.
// Both are compared as given; callers pass full paths in one form.
bool IsPathBelow(const std::wstring& path, const std::wstring& dir);
