#include "base/probes.h"

#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include "base/file_util.h"
#include "base/string_util.h"

int ClassifyOsVersion(unsigned major, unsigned minor, unsigned build) {
    if (major < 5) return 0;
    if (major == 5) return minor == 0 ? 0 : minor == 1 ? 1 : 2;
    if (major == 6) return minor == 0 ? 3 : minor == 1 ? 4 : minor == 2 ? 5 : 6;
    if (major == 11) return 22;
    if (major != 10) return 25;
    if (build >= 22000) return build > 22630 ? 24 : build > 22620 ? 23 : 22;
    // Windows 10 releases: the first threshold the build number passes decides.
    static const struct { unsigned above; int value; } kWindows10[] = {
        {20347, 21}, {19044, 20}, {19043, 19}, {19042, 18}, {19041, 17}, {19040, 16},
        {18362, 15}, {18361, 14}, {17762, 13}, {17133, 12}, {16298, 11}, {15062, 10},
        {14392, 9},  {10585, 8},
    };
    for (const auto& row : kWindows10) {
        if (build > row.above) return row.value;
    }
    return 7;
}

const OsInfo& OsInfo::Get() {
    static const OsInfo info = [] {
        OsInfo result;
        OSVERSIONINFOEXW version = {};
        version.dwOSVersionInfoSize = sizeof(version);
        if (GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&version))) {
            result.major = version.dwMajorVersion;
            result.minor = version.dwMinorVersion;
            result.build = version.dwBuildNumber;
        }
        result.OsVersion = ClassifyOsVersion(result.major, result.minor, result.build);
        return result;
    }();
    return info;
}

bool IsWow64() {
    using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
    static const IsWow64ProcessFn isWow64Process = reinterpret_cast<IsWow64ProcessFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32"), "IsWow64Process")));
    if (!isWow64Process) return false;
    BOOL wow64 = FALSE;
    return isWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

namespace {

// The module path with its last `levels` components removed.
std::wstring ModulePathUp(int levels) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    for (int i = 0; i < levels; ++i) PathRemoveFileSpecW(path);
    return path;
}

}  // namespace

std::wstring GetModulePath() { return ModulePathUp(0); }
std::wstring GetModuleDir() { return ModulePathUp(1); }
std::wstring GetModuleParentDir() { return ModulePathUp(2); }

std::wstring GetLocalAppDataDir() {
    std::wstring dir = SpecialFolder(CSIDL_LOCAL_APPDATA);
    const std::wstring suffix = L" (x86)";
    if (EndsWithNoCase(dir, suffix)) dir.resize(dir.size() - suffix.size());
    return dir;
}
