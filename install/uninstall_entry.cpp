#include "install/uninstall_entry.h"

#include <windows.h>
#include <aclapi.h>
#include <shlwapi.h>

#include <algorithm>
#include <memory>

#include "base/diagnostics.h"
#include "base/handles.h"
#include "config/ui_data.h"
#include "config/version_info.h"
#include "install/path_relation.h"
#include "install/token_user.h"

const wchar_t kUninstallKeyPath[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

namespace {

// Open from CreateUninstallKey until the process ends; the setters write through appKey.
UniqueHKey parentKey;
UniqueHKey appKey;

constexpr DWORD kUserKeyRights = KEY_READ | KEY_WRITE;  // 0x2001F

}  // namespace

// The entry is created without a view flag, so it lands in the program's own view: WOW64's
// for the 32-bit build on a 64-bit system, the native one for a 64-bit build.
#ifdef _WIN64
const REGSAM kUninstallEntryView = KEY_WOW64_64KEY;
#else
const REGSAM kUninstallEntryView = KEY_WOW64_32KEY;
#endif

std::wstring NormalizeRegistryPath(const std::wstring& path) {
    std::wstring slashes = path;
    std::replace(slashes.begin(), slashes.end(), L'/', L'\\');
    std::wstring result;
    result.reserve(slashes.size());
    for (size_t i = 0; i < slashes.size(); ++i) {
        result += slashes[i];
        if (slashes[i] == L'\\' && i + 1 < slashes.size() && slashes[i + 1] == L'\\') ++i;
    }
    return result;
}

bool CreateUninstallKey(const std::wstring& name) {
    // An empty name would open the Uninstall key itself and write into it.
    if (name.empty()) return false;
    // A failed open leaves the owner empty, so no key of an earlier call stays in use.
    if (RegOpenKeyW(HKEY_LOCAL_MACHINE, kUninstallKeyPath, parentKey.put()) != ERROR_SUCCESS) {
        parentKey.reset();
        return false;
    }
    if (RegCreateKeyW(parentKey.get(), name.c_str(), appKey.put()) != ERROR_SUCCESS) {
        appKey.reset();
        return false;
    }
    GrantKeyAccess(std::wstring(kUninstallKeyPath) + L"\\" + name);
    return true;
}

bool SetUninstallValue(const wchar_t* valueName, const std::wstring& text) {
    if (!appKey) return false;
    // Stored without the terminating NUL: the byte count is two per character.
    const LSTATUS status = RegSetValueExW(appKey.get(), valueName, 0, REG_SZ,
                                          reinterpret_cast<const BYTE*>(text.c_str()),
                                          static_cast<DWORD>(text.size() * sizeof(wchar_t)));
    DebugPrint(L"registry value %ls %ls = \"%ls\"%ls", valueName, L"REG_SZ", text.c_str(),
               status == ERROR_SUCCESS ? L"" : L" (not written)");
    return status == ERROR_SUCCESS;
}

bool SetUninstallDword(const wchar_t* valueName, DWORD value) {
    if (!appKey) return false;
    const LSTATUS status = RegSetValueExW(appKey.get(), valueName, 0, REG_DWORD,
                                          reinterpret_cast<const BYTE*>(&value), sizeof(value));
    DebugPrint(L"registry value %ls REG_DWORD = %lu%ls", valueName, value,
               status == ERROR_SUCCESS ? L"" : L" (not written)");
    return status == ERROR_SUCCESS;
}

bool SetDisplayIcon(const std::wstring& exePath) {
    return SetUninstallValue(L"DisplayIcon", NormalizeRegistryPath(exePath));
}

bool SetUninstallString(const std::wstring& uninstallPath) {
    return SetUninstallValue(L"UninstallString", NormalizeRegistryPath(uninstallPath));
}

bool SetDisplayVersion(const std::wstring& exePath) {
    if (!appKey) return false;
    return SetUninstallValue(L"DisplayVersion", ReadFileVersion(exePath));
}

bool GrantKeyAccess(const std::wstring& keyPath) {
    UniqueHKey key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, KEY_ALL_ACCESS | kUninstallEntryView,
                      key.put()) != ERROR_SUCCESS) {
        return false;
    }
    UniqueHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.put())) return false;
    const std::unique_ptr<BYTE[]> user = ReadTokenUser(token.get());
    if (!user) return false;

    DWORD size = 0;
    RegGetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, nullptr, &size);
    if (size == 0) return true;
    std::unique_ptr<BYTE[]> descriptor(new BYTE[size]);
    BOOL present = FALSE, defaulted = FALSE;
    PACL dacl = nullptr;
    if (RegGetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, descriptor.get(), &size) !=
            ERROR_SUCCESS ||
        !GetSecurityDescriptorDacl(descriptor.get(), &present, &dacl, &defaulted)) {
        return true;
    }

    UniqueLocalPointer<PACL> merged;
    if (MergeUserAccess(present ? dacl : nullptr, TokenUserSid(user), kUserKeyRights,
                        NO_INHERITANCE, merged.put()) != ERROR_SUCCESS) {
        return true;
    }
    SECURITY_DESCRIPTOR fresh = {};
    if (InitializeSecurityDescriptor(&fresh, SECURITY_DESCRIPTOR_REVISION) &&
        SetSecurityDescriptorDacl(&fresh, TRUE, merged.get(), FALSE)) {
        RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, &fresh);
    }
    return true;
}

std::wstring ReadInstallLocation(const std::wstring& name) {
    if (name.empty()) return L"";
    const std::wstring path = std::wstring(kUninstallKeyPath) + L"\\" + name;
    UniqueHKey key;
    if (RegOpenKeyW(HKEY_LOCAL_MACHINE, path.c_str(), key.put()) != ERROR_SUCCESS) return L"";
    // One spare character: the value is stored without its terminating NUL.
    wchar_t icon[MAX_PATH + 1] = {};
    DWORD size = MAX_PATH * sizeof(wchar_t);
    DWORD type = 0;
    if (RegQueryValueExW(key.get(), L"DisplayIcon", nullptr, &type,
                         reinterpret_cast<BYTE*>(icon), &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ) || icon[0] == L'\0') {
        return L"";
    }
    PathRemoveFileSpecW(icon);
    if (icon[0] == L'\0' || !PathIsDirectoryW(icon)) return L"";
    // The user may write this value. Files are removed and programs ended below the
    // directory it names, so only a directory named like the product's counts, never a
    // drive root or a system directory.
    if (PathIsRootW(icon) || !IsNamedLikeInstallDir(icon)) {
        return L"";
    }
    return icon;
}

void DeleteUninstallKey(const std::wstring& name) {
    // An empty name would make RegDeleteKeyW delete the Uninstall key itself.
    if (name.empty()) return;
    UniqueHKey parent;
    if (RegOpenKeyW(HKEY_LOCAL_MACHINE, kUninstallKeyPath, parent.put()) != ERROR_SUCCESS) return;
    // With everything below it: the user may write subkeys into the entry, and a key with
    // subkeys cannot be deleted on its own.
    SHDeleteKeyW(parent.get(), name.c_str());
}
