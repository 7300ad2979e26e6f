#include "install/uninstall_entry.h"

#include <gtest/gtest.h>
#include <aclapi.h>

#include <memory>
#include <string>

#include "base/handles.h"
#include "config/ui_data.h"
#include "config/version_info.h"
#include "install/install_test_support.h"
#include "install/token_user.h"
#include "test_support.h"

namespace {

struct StoredValue {
    DWORD type = 0;
    DWORD bytes = 0;
    std::wstring text;
};

StoredValue ReadValue(HKEY key, const wchar_t* name) {
    StoredValue value;
    if (RegQueryValueExW(key, name, nullptr, &value.type, nullptr, &value.bytes) !=
        ERROR_SUCCESS) {
        return value;
    }
    wchar_t buffer[1024] = {};
    DWORD size = sizeof(buffer) - sizeof(wchar_t);
    if (RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size) ==
        ERROR_SUCCESS) {
        value.text = buffer;
    }
    return value;
}

// What Wine's reg.exe prints for the key, as the system's tool sees it.
std::string RegQuery(const std::wstring& keyPath) {
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return "";
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    std::wstring commandLine = L"reg.exe query \"HKLM\\" + keyPath + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    PROCESS_INFORMATION process = {};
    const BOOL started = CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, TRUE,
                                        CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process);
    CloseHandle(writeEnd);
    std::string output;
    if (started) {
        char chunk[4096];
        DWORD read = 0;
        while (ReadFile(readEnd, chunk, sizeof(chunk), &read, nullptr) && read > 0) {
            output.append(chunk, read);
        }
        WaitForSingleObject(process.hProcess, 30000);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CloseHandle(readEnd);
    return output;
}

// Writes DisplayIcon directly, the way an earlier installation left it.
void WriteDisplayIcon(const ScratchUninstallKey& scratch, const std::wstring& icon) {
    UniqueHKey key;
    ASSERT_EQ(RegCreateKeyW(HKEY_LOCAL_MACHINE, scratch.path().c_str(), key.put()), ERROR_SUCCESS);
    if (icon.empty()) return;
    RegSetValueExW(key.get(), L"DisplayIcon", 0, REG_SZ, reinterpret_cast<const BYTE*>(icon.c_str()),
                   static_cast<DWORD>(icon.size() * sizeof(wchar_t)));
}

}  // namespace

TEST(UninstallEntry, SettersWriteNothingBeforeTheKeyIsCreated) {
    EXPECT_FALSE(SetDisplayIcon(L"C:\\x\\lwpic.exe"));
    EXPECT_FALSE(SetUninstallString(L"C:\\x\\uninstall.exe"));
    EXPECT_FALSE(SetDisplayVersion(FixturePath(L"fx_version.exe")));
    EXPECT_FALSE(SetUninstallValue(L"Publisher", L"p"));
    EXPECT_FALSE(CreateUninstallKey(L""));
}

TEST(UninstallEntry, WritesFiveStringValuesWithNormalisedPaths) {
    ScratchUninstallKey scratch;
    ASSERT_TRUE(CreateUninstallKey(scratch.name()));
    EXPECT_TRUE(SetDisplayIcon(L"D:/Apps//LarwenPic\\\\\\lwpic.exe"));
    EXPECT_TRUE(SetUninstallString(L"D:\\Apps\\LarwenPic/uninstall.exe"));
    EXPECT_TRUE(SetUninstallValue(L"Publisher", L"Larwen Soft"));
    EXPECT_TRUE(SetUninstallValue(L"DisplayName", L"\x5c9a\x6587\x770b\x56fe"));
    EXPECT_TRUE(SetDisplayVersion(FixturePath(L"fx_version.exe")));

    UniqueHKey key;
    ASSERT_EQ(RegOpenKeyW(HKEY_LOCAL_MACHINE, scratch.path().c_str(), key.put()), ERROR_SUCCESS);
    const struct {
        const wchar_t* name;
        std::wstring expected;
    } kValues[] = {
        // Three backslashes become two: the pairs are collapsed in one pass.
        {L"DisplayIcon", L"D:\\Apps\\LarwenPic\\\\lwpic.exe"},
        {L"UninstallString", L"D:\\Apps\\LarwenPic\\uninstall.exe"},
        {L"Publisher", L"Larwen Soft"},
        {L"DisplayName", L"\x5c9a\x6587\x770b\x56fe"},
        {L"DisplayVersion", ReadFileVersion(FixturePath(L"fx_version.exe"))},
    };
    for (const auto& row : kValues) {
        const StoredValue value = ReadValue(key.get(), row.name);
        EXPECT_EQ(value.type, static_cast<DWORD>(REG_SZ)) << row.name;
        EXPECT_EQ(value.text, row.expected) << row.name;
    }
    EXPECT_FALSE(kValues[4].expected.empty());
    EXPECT_EQ(kValues[4].expected.find(L','), std::wstring::npos);

    const std::string listing = RegQuery(scratch.path());
    for (const char* line : {"DisplayIcon    REG_SZ    D:\\Apps\\LarwenPic\\\\lwpic.exe",
                             "UninstallString    REG_SZ    D:\\Apps\\LarwenPic\\uninstall.exe",
                             "Publisher    REG_SZ    Larwen Soft", "DisplayName    REG_SZ",
                             "DisplayVersion    REG_SZ    "}) {
        EXPECT_NE(listing.find(line), std::string::npos) << line << "\n" << listing;
    }

    // The user may write below the entry: a subkey there must not keep it alive.
    UniqueHKey planted;
    ASSERT_EQ(RegCreateKeyW(HKEY_LOCAL_MACHINE, (scratch.path() + L"\\planted\\deeper").c_str(),
                            planted.put()),
              ERROR_SUCCESS);
    planted.reset();
    DeleteUninstallKey(scratch.name());
    HKEY gone = nullptr;
    EXPECT_NE(RegOpenKeyW(HKEY_LOCAL_MACHINE, scratch.path().c_str(), &gone), ERROR_SUCCESS);
}

TEST(UninstallEntry, VersionIsEmptyWhenTheExecutableHasNone) {
    ScratchUninstallKey scratch;
    ASSERT_TRUE(CreateUninstallKey(scratch.name()));
    EXPECT_TRUE(SetDisplayVersion(FixturePath(L"fx_noversion.exe")));
    UniqueHKey key;
    ASSERT_EQ(RegOpenKeyW(HKEY_LOCAL_MACHINE, scratch.path().c_str(), key.put()), ERROR_SUCCESS);
    const StoredValue value = ReadValue(key.get(), L"DisplayVersion");
    EXPECT_EQ(value.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(value.text, L"");
}

TEST(UninstallEntry, GrantsTheUserReadAndWriteOnTheKey) {
    ScratchUninstallKey scratch;
    ASSERT_TRUE(CreateUninstallKey(scratch.name()));
    UniqueHKey key;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, scratch.path().c_str(), 0,
                            KEY_READ | kUninstallEntryView, key.put()),
              ERROR_SUCCESS);
    DWORD size = 0;
    RegGetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, nullptr, &size);
    ASSERT_GT(size, 0u);
    std::unique_ptr<BYTE[]> descriptor(new BYTE[size]);
    ASSERT_EQ(RegGetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, descriptor.get(), &size),
              ERROR_SUCCESS);
    BOOL present = FALSE, defaulted = FALSE;
    PACL dacl = nullptr;
    ASSERT_TRUE(GetSecurityDescriptorDacl(descriptor.get(), &present, &dacl, &defaulted));
    ASSERT_TRUE(present && dacl);

    UniqueHandle token;
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.put()));
    const std::unique_ptr<BYTE[]> user = ReadTokenUser(token.get());
    ASSERT_TRUE(user);
    bool granted = false;
    for (DWORD i = 0; i < dacl->AceCount; ++i) {
        void* raw = nullptr;
        ASSERT_TRUE(GetAce(dacl, i, &raw));
        const auto* ace = static_cast<const ACCESS_ALLOWED_ACE*>(raw);
        if (ace->Header.AceType == ACCESS_ALLOWED_ACE_TYPE &&
            EqualSid(const_cast<DWORD*>(&ace->SidStart), TokenUserSid(user)) &&
            (ace->Mask & (KEY_READ | KEY_WRITE)) == (KEY_READ | KEY_WRITE)) {
            granted = true;
        }
    }
    EXPECT_TRUE(granted);
    EXPECT_FALSE(GrantKeyAccess(scratch.path() + L"\\missing"));
}

TEST(ReadInstallLocation, NamesOnlyAnExistingDirectoryNamedLikeTheProducts) {
    Install_Dir = L"LarwenPic";
    TempDir root;
    const std::wstring installDir = root / L"LarwenPic";
    ASSERT_TRUE(CreateDirectoryW(installDir.c_str(), nullptr));
    wchar_t systemDir[MAX_PATH] = {};
    ASSERT_GT(GetSystemDirectoryW(systemDir, MAX_PATH), 0u);
    const struct {
        const char* what;
        bool createKey;
        std::wstring icon;
        std::wstring expected;
    } kCases[] = {
        {"missing key", false, L"", L""},
        {"missing value", true, L"", L""},
        {"vanished directory", true, root / L"Gone\\lwpic.exe", L""},
        {"installed", true, installDir + L"\\lwpic.exe", installDir},
        {"installed, other case", true, root / L"larwenpic\\lwpic.exe", root / L"larwenpic"},
        // The value is writable by the user; what it names decides what is removed and ended.
        {"system directory", true, std::wstring(systemDir) + L"\\x.exe", L""},
        {"drive root", true, L"C:\\lwpic.exe", L""},
        {"other directory", true, root.path() + L"\\lwpic.exe", L""},
    };
    for (const auto& row : kCases) {
        ScratchUninstallKey scratch;
        if (row.createKey) WriteDisplayIcon(scratch, row.icon);
        EXPECT_EQ(ReadInstallLocation(scratch.name()), row.expected) << row.what;
    }
    EXPECT_EQ(ReadInstallLocation(L""), L"");
}
