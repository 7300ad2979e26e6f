#include "install/file_removal.h"

#include <gtest/gtest.h>
#include <shlwapi.h>

#include "test_support.h"

TEST(DeleteTree, RemovesEverythingBelowTheDirectory) {
    TempDir root;
    const std::wstring dir = root / L"tree";
    CreateDirectoryW(dir.c_str(), nullptr);
    CreateDirectoryW((dir + L"\\sub").c_str(), nullptr);
    CreateDirectoryW((dir + L"\\sub\\deeper").c_str(), nullptr);
    WriteFileBytes(dir + L"\\a.txt", "a");
    WriteFileBytes(dir + L"\\sub\\b.txt", "b");
    WriteFileBytes(dir + L"\\sub\\deeper\\c.txt", "c");
    WriteFileBytes(root / L"beside.txt", "kept");

    DeleteTree(dir);
    EXPECT_FALSE(PathFileExistsW(dir.c_str()));
    EXPECT_TRUE(PathFileExistsW((root / L"beside.txt").c_str()));

    DeleteTree(L"");
    DeleteTree(root / L"missing");
}

TEST(DeleteTree, AReadOnlyFileKeepsItsDirectories) {
    TempDir root;
    const std::wstring dir = root / L"tree";
    CreateDirectoryW(dir.c_str(), nullptr);
    CreateDirectoryW((dir + L"\\sub").c_str(), nullptr);
    const std::wstring locked = dir + L"\\sub\\ro.txt";
    WriteFileBytes(locked, "r");
    WriteFileBytes(dir + L"\\plain.txt", "p");
    SetFileAttributesW(locked.c_str(), FILE_ATTRIBUTE_READONLY);

    DeleteTree(dir);
    EXPECT_TRUE(PathFileExistsW(locked.c_str()));
    EXPECT_FALSE(PathFileExistsW((dir + L"\\plain.txt").c_str()));
    SetFileAttributesW(locked.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(DeleteOrSchedule, DeletesAFileAndLeavesDirectoriesAndMissingPathsAlone) {
    TempDir root;
    WriteFileBytes(root / L"f.txt", "f");
    DeleteOrSchedule(root / L"f.txt");
    EXPECT_FALSE(PathFileExistsW((root / L"f.txt").c_str()));

    CreateDirectoryW((root / L"dir").c_str(), nullptr);
    DeleteOrSchedule(root / L"dir");
    EXPECT_TRUE(PathIsDirectoryW((root / L"dir").c_str()));
    DeleteOrSchedule(root / L"missing.txt");
    DeleteOrSchedule(L"");
}
