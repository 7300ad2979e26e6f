#include "install/running_app.h"
#include "config/ui_data.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "base/handles.h"
#include "base/probes.h"
#include "install/install_test_support.h"
#include "test_support.h"

namespace {

bool Contains(const std::vector<DWORD>& list, DWORD id) {
    return std::find(list.begin(), list.end(), id) != list.end();
}

bool EqualNoCase(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

bool Ended(const UniqueHandle& process) {
    return WaitForSingleObject(process.get(), 10000) == WAIT_OBJECT_0;
}

}  // namespace

TEST(RunningApp, NothingIsFoundWithoutAnInstallation) {
    ScratchUninstallKey scratch;
    // The caller's list is left as it was.
    std::vector<DWORD> list = {7};
    EXPECT_FALSE(FindRunningApp(list));
    EXPECT_EQ(list, std::vector<DWORD>{7});
}

TEST(RunningApp, FindsAndEndsCopiesInTheDirectoryButNotInASibling) {
    TempDir root;
    ScratchUninstallKey scratch;
    Install_Dir = L"LarwenPic";
    const std::wstring installDir = root / L"LarwenPic";
    const std::wstring siblingDir = root / L"LarwenPicOld";
    ASSERT_TRUE(CreateDirectoryW(installDir.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW((installDir + L"\\bin").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW(siblingDir.c_str(), nullptr));
    ASSERT_TRUE(CopyFixture(L"fx_app.exe", installDir + L"\\lwpic.exe"));
    ASSERT_TRUE(CopyFixture(L"fx_app.exe", installDir + L"\\bin\\helper.exe"));
    ASSERT_TRUE(CopyFixture(L"fx_app.exe", siblingDir + L"\\lwpic.exe"));
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyW(HKEY_LOCAL_MACHINE, scratch.path().c_str(), &key), ERROR_SUCCESS);
    const std::wstring icon = installDir + L"\\lwpic.exe";
    RegSetValueExW(key, L"DisplayIcon", 0, REG_SZ, reinterpret_cast<const BYTE*>(icon.c_str()),
                   static_cast<DWORD>(icon.size() * sizeof(wchar_t)));
    RegCloseKey(key);

    const UniqueHandle app(StartProgram(installDir + L"\\lwpic.exe", L"/stay"));
    const UniqueHandle helper(StartProgram(installDir + L"\\bin\\helper.exe", L"/stay"));
    const UniqueHandle sibling(StartProgram(siblingDir + L"\\lwpic.exe", L"/stay"));
    ASSERT_TRUE(app && helper && sibling);
    for (const std::wstring& exe : {icon, installDir + L"\\bin\\helper.exe", siblingDir + L"\\lwpic.exe"}) {
        ASSERT_TRUE(WaitForFile(exe + L".args", 10000));
    }

    EXPECT_TRUE(EqualNoCase(GetProcessImagePath(GetProcessId(app.get())), icon));
    EXPECT_TRUE(EqualNoCase(GetProcessImagePath(GetCurrentProcessId()), GetModulePath()));
    EXPECT_EQ(GetProcessImagePath(0xFFFFFFF0u), L"");

    std::vector<DWORD> list;
    EXPECT_TRUE(FindRunningApp(list));
    EXPECT_TRUE(Contains(list, GetProcessId(app.get())));
    EXPECT_TRUE(Contains(list, GetProcessId(helper.get())));
    EXPECT_FALSE(Contains(list, GetProcessId(sibling.get())));
    EXPECT_FALSE(Contains(list, GetCurrentProcessId()));

    TerminateRunningApp();
    EXPECT_TRUE(Ended(app));
    EXPECT_TRUE(Ended(helper));
    EXPECT_EQ(WaitForSingleObject(sibling.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
    TerminateProcess(sibling.get(), 0);
}

TEST(RunningApp, TerminatingByNameEndsEveryCopy) {
    TempDir root;
    // A name no other process of the machine carries.
    const std::wstring name = L"lwtest-" + std::to_wstring(GetCurrentProcessId()) + L".exe";
    CreateDirectoryW((root / L"one").c_str(), nullptr);
    CreateDirectoryW((root / L"two").c_str(), nullptr);
    ASSERT_TRUE(CopyFixture(L"fx_app.exe", root / (L"one\\" + name)));
    ASSERT_TRUE(CopyFixture(L"fx_app.exe", root / (L"two\\" + name)));
    const UniqueHandle first(StartProgram(root / (L"one\\" + name), L"/stay"));
    const UniqueHandle second(StartProgram(root / (L"two\\" + name), L"/stay"));
    ASSERT_TRUE(first && second);

    EXPECT_EQ(TerminateProcessesByName(L"LWTEST-NO-SUCH-PROGRAM.exe"), 0);
    std::wstring upper = name;
    CharUpperW(&upper[0]);
    EXPECT_NE(TerminateProcessesByName(upper), 0);
    EXPECT_TRUE(Ended(first));
    EXPECT_TRUE(Ended(second));
}
