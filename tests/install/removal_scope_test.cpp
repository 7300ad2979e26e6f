#include "install/removal_scope.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include "base/file_util.h"
#include "base/resolved_path.h"
#include "base/string_util.h"
#include "config/ui_data.h"
#include "install/path_relation.h"
#include "test_support.h"

TEST(IsPathBelow, NeedsASeparatorAfterTheDirectory) {
    const struct {
        const wchar_t* path;
        const wchar_t* dir;
        bool below;
    } kCases[] = {
        {L"C:\\A\\LarwenPic\\x.exe", L"C:\\A\\LarwenPic", true},
        {L"c:\\a\\larwenpic\\sub\\x.exe", L"C:\\A\\LarwenPic", true},
        {L"C:\\A\\LarwenPic\\x.exe", L"C:\\A\\LarwenPic\\", true},
        {L"C:\\A\\LarwenPicOld\\x.exe", L"C:\\A\\LarwenPic", false},
        {L"C:\\A\\LarwenPic", L"C:\\A\\LarwenPic", false},
        {L"C:\\A\\LarwenPic\\", L"C:\\A\\LarwenPic", false},
        {L"C:\\B\\x.exe", L"C:\\A\\LarwenPic", false},
        {L"C:\\A\\LarwenPic\\x.exe", L"", false},
    };
    for (const auto& row : kCases) {
        EXPECT_EQ(IsPathBelow(row.path, row.dir), row.below) << row.path << " / " << row.dir;
    }
}

TEST(StartsLikeNetworkPath, AnyTwoLeadingSeparators) {
    const struct { const wchar_t* path; bool network; } kCases[] = {
        {L"\\\\server\\share\\x", true}, {L"//server/share/x", true}, {L"\\/server/x", true},
        {L"/\\server\\x", true}, {L"\\\\?\\UNC\\server\\share", true}, {L"\\x.txt", false},
        {L"C:\\x", false}, {L"/", false}, {L"", false},
    };
    for (const auto& row : kCases) EXPECT_EQ(StartsLikeNetworkPath(row.path), row.network) << row.path;
}

TEST(IsSameDirectory, OneExistingDirectoryInAnyForm) {
    TempDir root;
    ASSERT_TRUE(CreateDirectoryTree(root / L"LarwenPic"));
    const std::wstring dir = root / L"LarwenPic";
    EXPECT_TRUE(IsSameDirectory(dir, dir));
    EXPECT_TRUE(IsSameDirectory(dir + L"\\", root / L"larwenpic"));
    EXPECT_TRUE(IsSameDirectory(root / L"x\\..\\LarwenPic", dir));
    EXPECT_FALSE(IsSameDirectory(dir, root.path()));
    EXPECT_FALSE(IsSameDirectory(L"", dir));
    EXPECT_FALSE(IsSameDirectory(root / L"missing", root / L"missing"));
}

TEST(ResolveRemovalEntry, AllowsOnlyWhatTheInstallationCreated) {
    TempDir root;
    const std::wstring base = root / L"LarwenPic";
    const std::wstring desktop = SpecialFolder(CSIDL_DESKTOPDIRECTORY);
    const std::wstring menu = SpecialFolder(CSIDL_COMMON_STARTMENU) + L"\\Programs\\" + App_Desktop_Link;
    const struct {
        std::wstring entry;
        bool allowed;
        std::wstring path;
    } kCases[] = {
        {L"\\lwlive.log", true, base + L"\\lwlive.log"},
        {base + L"\\sub\\x.dll", true, base + L"\\sub\\x.dll"},
        {base + L"/sub/./y.dll", true, base + L"\\sub\\y.dll"},
        {base + L"\\sub\\", true, base + L"\\sub"},
        {base + L"\\..\\elsewhere.txt", false, L""},
        {L"\\..\\elsewhere.txt", false, L""},
        {base, false, L""},
        {base + L"Old\\x.exe", false, L""},
        {L"C:\\windows\\system32\\kernel32.dll", false, L""},
        {desktop + L"\\" + App_Desktop_Link + L".lnk", true, desktop + L"\\" + App_Desktop_Link + L".lnk"},
        {desktop + L"\\other.lnk", false, L""},
        {menu, true, menu},
        {menu + L"\\" + UnInstall_Link + L".lnk", true, menu + L"\\" + UnInstall_Link + L".lnk"},
        {menu + L"\\notes.txt", false, L""},
        {menu + L"\\sub\\x.lnk", false, L""},
        {SpecialFolder(CSIDL_COMMON_STARTMENU) + L"\\Programs\\Other", false, L""},
        {L"", false, L""},
    };
    for (const auto& row : kCases) {
        std::wstring path;
        std::wstring resolved;
        EXPECT_EQ(ResolveRemovalEntry(row.entry, base, &path, &resolved), row.allowed) << row.entry;
        if (row.allowed) {
            EXPECT_EQ(CompareStringOrdinal(path.c_str(), -1, row.path.c_str(), -1, TRUE), CSTR_EQUAL)
                << path << " for " << row.entry;
            // Below the installation: where its parent resolves, then the names as given.
            if (StartsWithNoCase(path, base)) {
                EXPECT_EQ(resolved, ResolvedPath(root.path()) + path.substr(root.path().size()));
            }
        }
    }
}
