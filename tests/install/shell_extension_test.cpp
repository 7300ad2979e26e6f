#include "install/shell_extension.h"

#include <gtest/gtest.h>
#include <shlwapi.h>

#include "install/install_test_support.h"
#include "test_support.h"

TEST(ShellExtension, PicksTheBuildOfTheProcessor) {
    SYSTEM_INFO info = {};
    GetNativeSystemInfo(&info);
    const bool wide = info.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64 ||
                      info.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_IA64;
    EXPECT_EQ(ShellExtensionName(), wide ? L"lwpicshellext64.dll" : L"lwpicshellext.dll");
    // The system's own program, never one found through the search path.
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    EXPECT_EQ(SystemRegsvr32Path(), std::wstring(system) + L"\\regsvr32.exe");
}

TEST(ShellExtension, RegistersTheMatchingDllAndUnregistersBothBeforeDeletingThem) {
    TempDir root;
    // A space in the path: the DLL path must reach regsvr32 as one argument.
    const std::wstring dir = root / L"Larwen Pic";
    ASSERT_TRUE(CreateDirectoryW(dir.c_str(), nullptr));
    EXPECT_FALSE(RegisterShellExtension(dir));

    for (const wchar_t* name : {L"lwpicshellext.dll", L"lwpicshellext64.dll"}) {
        ASSERT_TRUE(CopyFixture(name, dir + L"\\" + name));
    }
    const std::wstring chosen = dir + L"\\" + ShellExtensionName();
    const std::wstring other = dir + L"\\" +
        (ShellExtensionName() == L"lwpicshellext.dll" ? L"lwpicshellext64.dll" : L"lwpicshellext.dll");
    EXPECT_TRUE(RegisterShellExtension(dir));
    EXPECT_TRUE(WaitForFile(chosen + L".registered", 30000));
    Sleep(500);
    EXPECT_FALSE(PathFileExistsW((other + L".registered").c_str()));

    // Nothing holds the DLLs: deleted now, nothing left for a restart.
    EXPECT_FALSE(UnregisterShellExtension(dir));
    for (const std::wstring& dll : {chosen, other}) {
        EXPECT_TRUE(PathFileExistsW((dll + L".unregistered").c_str())) << dll;
        EXPECT_FALSE(PathFileExistsW(dll.c_str())) << dll;
    }
}

TEST(ShellExtension, DefaultViewerStartsTheApplicationWithItsSwitch) {
    TempDir root;
    ASSERT_TRUE(CopyFixture(L"fx_app.exe", root / L"lwpic.exe"));
    SetDefaultViewer(L"");
    SetDefaultViewer(root.path());
    ASSERT_TRUE(WaitForFile(root / L"lwpic.exe.args", 30000));
    Sleep(200);
    EXPECT_EQ(ReadWideFile(root / L"lwpic.exe.args"), L"/setdefault:1\r\n");
}
