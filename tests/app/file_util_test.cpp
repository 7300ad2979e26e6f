#include "app/file_util.h"

#include <gtest/gtest.h>
#include <shlwapi.h>

#include "test_support.h"

TEST(CreateDirectoryTree, CreatesEveryMissingLevel) {
    TempDir root;
    EXPECT_TRUE(CreateDirectoryTree(root / L"a/b\\c"));
    EXPECT_TRUE(PathIsDirectoryW((root / L"a\\b\\c").c_str()));
    EXPECT_TRUE(CreateDirectoryTree(root / L"a\\b\\c"));  // already there
    EXPECT_TRUE(CreateDirectoryTree(root / L"a\\b\\d\\"));

    // A file where a directory must go stops the walk.
    WriteFileBytes(root / L"file", "x");
    EXPECT_FALSE(CreateDirectoryTree(root / L"file\\sub"));
    EXPECT_FALSE(PathFileExistsW((root / L"file\\sub").c_str()));
}

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
