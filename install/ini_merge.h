// Copying the package's data ini into the user data file.
#pragma once

#include <string>

#include "install/ini_text.h"

// Writes every pair of `source` into `target` through the profile-file interface, sections
// and keys in ascending order. A missing or unreadable source writes nothing.
void MergeIniFile(const std::wstring& source, const std::wstring& target);
