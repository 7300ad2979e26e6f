#include "app/run_mode.h"

#include <windows.h>

#include <cwchar>

#include "base/diagnostics.h"
#include "base/probes.h"
#include "base/string_util.h"
#include "config/ui_data.h"

bool IsUninstallMode() { return EndsWithNoCase(GetModulePath(), Uninst_App); }

std::wstring KeepFailureLog() {
    const std::wstring current = LogPath();
    if (!current.empty()) return current;
    wchar_t temp[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, temp);
    if (length == 0 || length > MAX_PATH) return L"";
    SYSTEMTIME now = {};
    GetLocalTime(&now);
    wchar_t name[96] = {};
    std::swprintf(name, 96, L"-%ls-%04u%02u%02u-%02u%02u%02u.log",
                  IsUninstallMode() ? L"uninstall" : L"setup", now.wYear, now.wMonth, now.wDay,
                  now.wHour, now.wMinute, now.wSecond);
    const std::wstring path = JoinPath(temp, REG_KEY + name);
    if (!WriteLogTo(path)) return L"";
    DebugPrint(L"the run failed: this log is kept as %ls", path.c_str());
    return path;
}
