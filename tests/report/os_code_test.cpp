#include <gtest/gtest.h>

#include <windows.h>

#include "report/os_code.h"

TEST(OsCode, ClassifiesReportedVersions) {
    constexpr uint32_t k9x = VER_PLATFORM_WIN32_WINDOWS;
    constexpr uint32_t kNt = VER_PLATFORM_WIN32_NT;
    const struct {
        OsVersionNumbers v;
        int code;
    } cases[] = {
        {{k9x, 4, 0, 0x04590000, 0}, 1},
        {{k9x, 4, 10, 0x045A0000, 0}, 2},
        {{kNt, 4, 0, 1381, 1}, 4},
        {{kNt, 3, 51, 1057, 1}, 4},
        {{kNt, 5, 0, 2195, 1}, 3},
        {{kNt, 5, 1, 2600, 1}, 6},
        {{kNt, 5, 2, 3790, 3}, 5},
        {{kNt, 5, 3, 0, 1}, 0},
        {{kNt, 6, 0, 6002, 1}, 7},
        {{kNt, 6, 0, 6002, 3}, 9},
        {{kNt, 6, 1, 7601, 2}, 9},
        {{kNt, 6, 1, 7601, 1}, 8},
        {{kNt, 6, 2, 9200, 1}, -1},
        {{kNt, 10, 0, 19045, 1}, -1},
        {{kNt, 6, 2, 9200, 3}, 0},
        {{kNt, 10, 0, 20348, 3}, 0},
        {{0, 6, 1, 0, 1}, 0},  // Win32s
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ClassifyOsCode(c.v), c.code)
            << c.v.platform << " " << c.v.major << "." << c.v.minor << " type " << int(c.v.productType);
    }
}

TEST(OsCode, ClassifiesTrueVersions) {
    const struct {
        uint32_t major, minor, build;
        int code;
    } cases[] = {
        {6, 3, 9600, 11},      {6, 4, 9841, 12},      {10, 0, 19045, 12}, {10, 0, 21995, 12},
        {10, 0, 21996, 13},    {10, 0, 22631, 13},    {6, 2, 9200, 10},   {11, 0, 0, 10},
        {0, 0, 0, 10},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(OsCodeForTrueVersion(c.major, c.minor, c.build), c.code)
            << c.major << "." << c.minor << "." << c.build;
    }
}

TEST(OsCode, LiveValueMatchesWhatTheSystemReports) {
    OSVERSIONINFOEXW info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    ASSERT_TRUE(GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&info)));
    const int reported = ClassifyOsCode({info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion,
                                         info.dwBuildNumber, info.wProductType});
    const int code = OsCode();
    if (reported >= 0) {
        EXPECT_EQ(code, reported);
    } else {
        EXPECT_GE(code, 10);
        EXPECT_LE(code, 13);
    }
    EXPECT_NE(code, 0);
    EXPECT_EQ(OsCode(), code);
}
