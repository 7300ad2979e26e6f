// The packer: writes offline_setup.exe, a copy of this installer carrying a package.
#pragma once

#include <string>

void BuildOfflineInstaller(const std::wstring& commandLine);
