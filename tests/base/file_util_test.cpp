#include "base/file_util.h"

#include <gtest/gtest.h>
#include <shlwapi.h>

#include <cstring>

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

TEST(ReadWholeFile, SizeBoundsAndTerminators) {
    TempDir dir;
    const struct { const char* name; DWORD size; bool accepted; } cases[] = {
        {"one", 1, true},
        {"empty", 0, false},
        {"largest", kMaxWholeFileSize, true},
        {"too_large", kMaxWholeFileSize + 1, false},
    };
    for (const auto& c : cases) {
        const std::wstring path = dir / std::wstring(c.name, c.name + strlen(c.name));
        std::string bytes(c.size, 'x');
        if (c.size > 0) bytes.back() = 'z';
        WriteFileBytes(path, bytes);
        DWORD size = 7;
        std::unique_ptr<char[]> data = ReadWholeFile(path, &size);
        EXPECT_EQ(data != nullptr, c.accepted) << c.name;
        if (data) {
            EXPECT_EQ(size, c.size);
            EXPECT_EQ(data[c.size - 1], 'z');
            EXPECT_EQ(data[c.size], 0);
            EXPECT_EQ(data[c.size + 1], 0);
        }
        DeleteFileW(path.c_str());
    }
    EXPECT_EQ(ReadWholeFile(dir / L"missing", nullptr), nullptr);
}

TEST(ReadWholeFile, RefusesAFileInUse) {
    TempDir dir;
    const std::wstring path = dir / L"busy";
    WriteFileBytes(path, "data");
    HANDLE other = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               0, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    EXPECT_EQ(ReadWholeFile(path, nullptr), nullptr);  // we ask for no sharing
    CloseHandle(other);
    EXPECT_NE(ReadWholeFile(path, nullptr), nullptr);
}

TEST(DirectorySizeKb, AddsEveryFileBelowAndRoundsUp) {
    TempDir root;
    EXPECT_EQ(DirectorySizeKb(root / L"missing"), 0u);
    EXPECT_EQ(DirectorySizeKb(root.path()), 0u);
    WriteFileBytes(root / L"one", std::string(1, 'x'));
    EXPECT_EQ(DirectorySizeKb(root.path()), 1u);
    ASSERT_TRUE(CreateDirectoryTree(root / L"a\\b"));
    WriteFileBytes(root / L"a\\b\\deep", std::string(2048, 'x'));
    WriteFileBytes(root / L"a\\two", std::string(1023, 'x'));
    EXPECT_EQ(DirectorySizeKb(root.path()), 3u);  // 1 + 2048 + 1023 bytes
}
