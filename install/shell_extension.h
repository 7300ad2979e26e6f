// The application's shell-extension DLLs and its default-viewer switch.
#pragma once

#include <string>

// "lwpicshellext64.dll" on x64 and IA-64 processors, "lwpicshellext.dll" elsewhere.
std::wstring ShellExtensionName();

// Starts the system's regsvr32.exe elevated (/s "<dir>\<dll>") for the DLL that matches the
// processor, without waiting. False when that DLL is not in `dir`.
bool RegisterShellExtension(const std::wstring& dir);

// For each of the two DLLs found in `dir` (32-bit first): unregisters it with the system's
// regsvr32.exe (/u /s "<path>"), waiting up to 30 s for it, then deletes it (DeleteOrSchedule).
// True when a DLL was in use and is left for the next restart.
bool UnregisterShellExtension(const std::wstring& dir);

// Starts the application in `dir` with "/setdefault:1" as the desktop's user, hidden, without
// waiting.
void SetDefaultViewer(const std::wstring& dir);

// The full path of the system's own regsvr32.exe.
std::wstring SystemRegsvr32Path();
