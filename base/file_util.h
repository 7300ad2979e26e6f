// Reading files, finding folders, creating directory trees.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "base/handles.h"

// A shell special folder (a CSIDL_ value), not created when missing; empty when the shell
// has none.
std::wstring SpecialFolder(int csidl);

// The directory `read` reports (GetSystemDirectoryW, GetWindowsDirectoryW); empty when it
// fails or does not fit MAX_PATH.
std::wstring SystemFolder(UINT(WINAPI* read)(LPWSTR, UINT));

// Creates every missing directory of `path` ("/" counts as "\"); false at the first failure.
bool CreateDirectoryTree(const std::wstring& path);

// The sizes of every file in `dir` and below it, in kilobytes, rounded up; 0 for a
// directory that cannot be read.
DWORD DirectorySizeKb(const std::wstring& dir);

// Files of 100 MiB and more are refused.
constexpr DWORD kMaxWholeFileSize = 104857599;

// The whole file, followed by two zero bytes; null for a file that cannot be opened without
// sharing, is empty, is larger than kMaxWholeFileSize, or reads short.
std::unique_ptr<char[]> ReadWholeFile(const std::wstring& path, DWORD* size);
