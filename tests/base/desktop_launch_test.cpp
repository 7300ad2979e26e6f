// Starting programs as the desktop's user.
#include "base/desktop_launch.h"

#include <gtest/gtest.h>
#include <shlwapi.h>

#include "test_support.h"

TEST(LaunchFile, ReportsTheSystemError) {
    TempDir root;
    DWORD error = 12345;
    EXPECT_FALSE(LaunchFile(root / L"missing.exe", &error));
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));

    // A real program is started: it leaves a file behind.
    const std::wstring marker = root / L"started.txt";
    WriteFileBytes(root / L"touch.bat", "@echo started> \"" +
                   std::string(marker.begin(), marker.end()) + "\"\r\n");
    ASSERT_TRUE(LaunchFile(root / L"touch.bat", &error));
    for (int i = 0; i < 100 && !PathFileExistsW(marker.c_str()); ++i) Sleep(100);
    EXPECT_TRUE(PathFileExistsW(marker.c_str()));
}
