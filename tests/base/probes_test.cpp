#include "base/probes.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <shlwapi.h>

TEST(OsVersion, EveryRowOfTheClassification) {
    const struct { unsigned major, minor, build; int value; } cases[] = {
        {4, 0, 1381, 0},   {5, 0, 2195, 0},   {5, 1, 2600, 1},   {5, 2, 3790, 2},
        {5, 3, 0, 2},      {6, 0, 6002, 3},   {6, 1, 7601, 4},   {6, 2, 9200, 5},
        {6, 3, 9600, 6},   {6, 4, 0, 6},      {10, 0, 10240, 7}, {10, 0, 10585, 7},
        {10, 0, 10586, 8}, {10, 0, 14392, 8}, {10, 0, 14393, 9}, {10, 0, 15062, 9},
        {10, 0, 15063, 10}, {10, 0, 16298, 10}, {10, 0, 16299, 11}, {10, 0, 17133, 11},
        {10, 0, 17134, 12}, {10, 0, 17762, 12}, {10, 0, 17763, 13}, {10, 0, 18361, 13},
        {10, 0, 18362, 14}, {10, 0, 18363, 15}, {10, 0, 19040, 15}, {10, 0, 19041, 16},
        {10, 0, 19042, 17}, {10, 0, 19043, 18}, {10, 0, 19044, 19}, {10, 0, 19045, 20},
        {10, 0, 20347, 20}, {10, 0, 20348, 21}, {10, 0, 21999, 21}, {10, 0, 22000, 22},
        {10, 0, 22620, 22}, {10, 0, 22621, 23}, {10, 0, 22630, 23}, {10, 0, 22631, 24},
        {10, 0, 26100, 24}, {11, 0, 0, 22},    {7, 0, 0, 25},     {9, 9, 0, 25},
        {12, 0, 0, 25},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ClassifyOsVersion(c.major, c.minor, c.build), c.value)
            << c.major << "." << c.minor << "." << c.build;
    }
}

TEST(OsVersion, LiveValueClassifiesWhatTheSystemReports) {
    // RtlGetVersion is not subject to the manifest, so it is an independent witness.
    using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
    auto rtlGetVersion = reinterpret_cast<RtlGetVersionFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"ntdll"), "RtlGetVersion")));
    ASSERT_NE(rtlGetVersion, nullptr);
    OSVERSIONINFOW version = {};
    version.dwOSVersionInfoSize = sizeof(version);
    ASSERT_EQ(rtlGetVersion(&version), 0);
    const OsInfo& info = OsInfo::Get();
    EXPECT_EQ(info.major, version.dwMajorVersion);
    EXPECT_EQ(info.minor, version.dwMinorVersion);
    EXPECT_EQ(info.OsVersion,
              ClassifyOsVersion(version.dwMajorVersion, version.dwMinorVersion, version.dwBuildNumber));
    EXPECT_GT(info.OsVersion, kNewestRefusedOsVersion);
}

TEST(ModulePaths, DropOneAndTwoComponents) {
    const std::wstring path = GetModulePath();
    ASSERT_TRUE(PathFileExistsW(path.c_str())) << path;
    const std::wstring dir = GetModuleDir();
    const std::wstring parent = GetModuleParentDir();
    EXPECT_EQ(path.substr(0, dir.size() + 1), dir + L"\\");
    EXPECT_EQ(dir.substr(0, parent.size() + 1), parent + L"\\");
    EXPECT_EQ(dir.find(L'\\', parent.size() + 1), std::wstring::npos);
}

TEST(Probes, LocalAppDataAndWow64) {
    const std::wstring appData = GetLocalAppDataDir();
    EXPECT_FALSE(appData.empty());
    EXPECT_TRUE(PathIsDirectoryW(appData.c_str())) << appData;
    // A 64-bit system has a separate folder for 32-bit system files; only a 32-bit program
    // runs under WOW64 there.
    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    const std::wstring syswow64 = std::wstring(windows) + L"\\syswow64";
    const bool wideSystem = PathIsDirectoryW(syswow64.c_str()) != FALSE;
    EXPECT_EQ(IsWow64(), wideSystem && sizeof(void*) == 4);
}
