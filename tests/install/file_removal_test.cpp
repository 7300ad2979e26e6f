#include "install/file_removal.h"

#include <gtest/gtest.h>
#include <shlwapi.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/handles.h"
#include "base/resolved_path.h"
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

    DeleteTree(dir, ResolvedPath(dir));
    EXPECT_FALSE(PathFileExistsW(dir.c_str()));
    EXPECT_TRUE(PathFileExistsW((root / L"beside.txt").c_str()));

    DeleteTree(L"", L"");
    DeleteTree(root / L"missing", ResolvedPath(root.path()) + L"\\missing");
}

TEST(DeleteTree, TouchesNothingWhereTheDirectoryDoesNotResolveAsNamed) {
    // What a directory swapped for a link looks like from here: it resolves somewhere else
    // than the path it must have.
    TempDir root;
    const std::wstring dir = root / L"tree";
    CreateDirectoryW(dir.c_str(), nullptr);
    WriteFileBytes(dir + L"\\a.txt", "a");
    DeleteTree(dir, ResolvedPath(root.path()) + L"\\other");
    EXPECT_TRUE(PathFileExistsW((dir + L"\\a.txt").c_str()));
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

    DeleteTree(dir, ResolvedPath(dir));
    EXPECT_TRUE(PathFileExistsW(locked.c_str()));
    EXPECT_FALSE(PathFileExistsW((dir + L"\\plain.txt").c_str()));
    SetFileAttributesW(locked.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(DeleteOrSchedule, DeletesAFileAndLeavesDirectoriesAndMissingPathsAlone) {
    TempDir root;
    WriteFileBytes(root / L"f.txt", "f");
    // Deleted at once: nothing is left for a restart.
    EXPECT_FALSE(DeleteOrSchedule(root / L"f.txt"));
    EXPECT_FALSE(PathFileExistsW((root / L"f.txt").c_str()));

    CreateDirectoryW((root / L"dir").c_str(), nullptr);
    EXPECT_FALSE(DeleteOrSchedule(root / L"dir"));
    EXPECT_TRUE(PathIsDirectoryW((root / L"dir").c_str()));
    EXPECT_FALSE(DeleteOrSchedule(root / L"missing.txt"));
    EXPECT_FALSE(DeleteOrSchedule(L""));
}

namespace {

// The restart-time operations the system holds, lower case, one string.
std::wstring PendingRenames() {
    UniqueHKey key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Control\\Session Manager",
                      0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) {
        return L"";
    }
    DWORD size = 0;
    if (RegQueryValueExW(key.get(), L"PendingFileRenameOperations", nullptr, nullptr, nullptr,
                         &size) != ERROR_SUCCESS) {
        return L"";
    }
    std::wstring value(size / sizeof(wchar_t), L'\0');
    RegQueryValueExW(key.get(), L"PendingFileRenameOperations", nullptr, nullptr,
                     reinterpret_cast<BYTE*>(&value[0]), &size);
    std::replace(value.begin(), value.end(), L'\0', L'\n');
    CharLowerW(&value[0]);
    return value;
}

std::wstring Lower(std::wstring text) {
    CharLowerW(&text[0]);
    return text;
}

}  // namespace

TEST(DeleteOrSchedule, AFileInUseIsLeftForTheNextRestart) {
    TempDir root;
    const std::wstring held = root / L"held.dat";
    WriteFileBytes(held, "held");
    const UniqueFileHandle file(CreateFileW(held.c_str(), GENERIC_READ, 0, nullptr,
                                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file);

    EXPECT_TRUE(DeleteOrSchedule(held));
    // Registered under its new name beside it, or under its own when it could not be renamed.
    const std::wstring pending = PendingRenames();
    const size_t at = pending.find(Lower(held));
    ASSERT_NE(at, std::wstring::npos) << pending;
    const std::wstring registered = pending.substr(at, pending.find(L'\n', at) - at);
    EXPECT_TRUE(registered == Lower(held) ||
                (registered.size() > held.size() + 5 &&
                 registered.compare(held.size(), 1, L"_") == 0 &&
                 registered.compare(registered.size() - 4, 4, L".tmp") == 0))
        << registered;
    // Nothing else is left beside it: no name reserved for the renaming stays.
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found = {};
    const HANDLE search = FindFirstFileW((root / L"*").c_str(), &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    do {
        if (found.cFileName[0] != L'.') names.push_back(found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    EXPECT_EQ(names.size(), 1u) << names.size() << " names, the last " << names.back().c_str();
}
