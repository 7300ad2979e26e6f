// Questions about the machine and the running executable that recur across the installer.
#pragma once

#include <string>

// Ordinal classes of Windows releases: 0 older than XP, 1 XP, 2 Server 2003 / XP x64,
// 3 Vista, 4 7, 5 8, 6 8.1, 7-21 Windows 10 releases, 22-24 Windows 11, 25 anything else.
int ClassifyOsVersion(unsigned major, unsigned minor, unsigned build);

// Built once per process from what GetVersionExW reports.
struct OsInfo {
    unsigned major = 0, minor = 0, build = 0;
    int OsVersion = 0;
    static const OsInfo& Get();
};

// Values 0 and 1 of OsVersion: the releases the installer refuses to run on.
constexpr int kNewestRefusedOsVersion = 1;

bool IsWow64();
std::wstring GetModulePath();
std::wstring GetModuleDir();
std::wstring GetModuleParentDir();
std::wstring GetLocalAppDataDir();
