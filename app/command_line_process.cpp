#include "app/command_line.h"

#include <windows.h>
#include <shlwapi.h>

#include "base/probes.h"
#include "config/ui_data.h"

// The command-line readers bound to this process: its own file name and the configured
// install folder name. The readers themselves work on the text alone (command_line.cpp).

bool ParseCommandLine(const std::wstring& commandLine) {
    const std::wstring path = GetModulePath();
    return ParseTrackingIds(commandLine, PathFindFileNameW(path.c_str()));
}

std::wstring GetSilentInstallDir(const std::wstring& commandLine) {
    return SilentInstallDirFor(commandLine, Install_Dir);
}
