#include "install/shortcuts.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include "base/handles.h"
#include "test_support.h"

namespace {

struct LinkFields {
    std::wstring target;
    std::wstring workDir;
    std::wstring arguments;
};

// Reads a saved link back through the shell's own object.
LinkFields LoadLink(const std::wstring& path) {
    LinkFields fields;
    ComApartment com;
    ComPtr<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                link.receive()))) {
        return fields;
    }
    ComPtr<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.receive())) ||
        FAILED(file->Load(path.c_str(), STGM_READ))) {
        return fields;
    }
    wchar_t text[MAX_PATH] = {};
    if (SUCCEEDED(link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH))) fields.target = text;
    text[0] = L'\0';
    if (SUCCEEDED(link->GetWorkingDirectory(text, MAX_PATH))) fields.workDir = text;
    text[0] = L'\0';
    if (SUCCEEDED(link->GetArguments(text, MAX_PATH))) fields.arguments = text;
    return fields;
}

}  // namespace

TEST(ShortcutWorkingDir, IsTheTextBeforeTheLastSeparator) {
    EXPECT_EQ(ShortcutWorkingDir(L"C:\\Apps\\LarwenPic\\lwpic.exe"), L"C:\\Apps\\LarwenPic");
    EXPECT_EQ(ShortcutWorkingDir(L"C:\\Apps\\LarwenPic/lwpic.exe"), L"C:\\Apps\\LarwenPic");
    EXPECT_EQ(ShortcutWorkingDir(L"lwpic.exe"), L"lwpic.exe");
}

TEST(CreateShellLink, SavesTargetAndWorkingDirectoryAndReplacesAnOldLink) {
    TempDir root;
    const std::wstring appDir = root / L"LarwenPic";
    CreateDirectoryW(appDir.c_str(), nullptr);
    WriteFileBytes(appDir + L"\\lwpic.exe", "MZ");
    WriteFileBytes(appDir + L"\\uninstall.exe", "MZ");
    const std::wstring link = root / L"app.lnk";

    ASSERT_TRUE(CreateShellLink(appDir + L"\\lwpic.exe", link));
    LinkFields fields = LoadLink(link);
    EXPECT_EQ(fields.target, appDir + L"\\lwpic.exe");
    EXPECT_EQ(fields.workDir, appDir);
    EXPECT_EQ(fields.arguments, L"");

    // Saved over an existing link of the same name.
    ASSERT_TRUE(CreateShellLink(appDir + L"\\uninstall.exe", link));
    fields = LoadLink(link);
    EXPECT_EQ(fields.target, appDir + L"\\uninstall.exe");

    EXPECT_FALSE(CreateShellLink(appDir + L"\\lwpic.exe", root / L"missing\\dir\\x.lnk"));
}
