// Starting files and creating directory trees.
#pragma once

#include <windows.h>

#include <string>

// Opens `path` through the shell; `error` receives GetLastError after the call either way.
bool LaunchFile(const std::wstring& path, DWORD* error);

// Creates every missing directory of `path` ("/" counts as "\"); false at the first failure.
bool CreateDirectoryTree(const std::wstring& path);
