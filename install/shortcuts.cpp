#include "install/shortcuts.h"

#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include "base/file_util.h"
#include "base/handles.h"
#include "base/string_util.h"
#include "config/ui_data.h"

std::wstring ShortcutWorkingDir(const std::wstring& target) {
    const size_t slash = target.find_last_of(L"\\/");
    return slash == std::wstring::npos ? target : target.substr(0, slash);
}

bool CreateShellLink(const std::wstring& target, const std::wstring& linkPath) {
    const ComApartment com;
    if (!com.ready()) return false;
    ComPtr<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                link.receive()))) {
        return false;
    }
    if (FAILED(link->SetPath(target.c_str())) ||
        FAILED(link->SetWorkingDirectory(ShortcutWorkingDir(target).c_str())) ||
        FAILED(link->SetArguments(nullptr))) {
        return false;
    }
    ComPtr<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.receive()))) return false;
    return SUCCEEDED(file->Save(linkPath.c_str(), FALSE));
}

std::wstring CreateDesktopShortcut(const std::wstring& target, const std::wstring& name) {
    const std::wstring desktop = SpecialFolder(CSIDL_DESKTOPDIRECTORY);
    if (desktop.empty()) return L"";
    const std::wstring link = desktop + L"\\" + name + L".lnk";
    return CreateShellLink(target, link) ? link : L"";
}

std::wstring CreateStartMenuShortcut(const std::wstring& target, const std::wstring& folderName,
                                     const std::wstring& linkName) {
    const std::wstring startMenu = SpecialFolder(CSIDL_COMMON_STARTMENU);
    if (startMenu.empty()) return L"";
    const std::wstring folderPath = startMenu + L"\\programs\\" + folderName;
    // Tested without the trailing separator: with it, a file of that name is not found.
    const DWORD attributes = GetFileAttributesW(folderPath.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        DeleteFileW(folderPath.c_str());
    }
    if (!PathFileExistsW(folderPath.c_str())) CreateDirectoryW(folderPath.c_str(), nullptr);
    const std::wstring folder = folderPath + L"\\";
    const std::wstring link = folder + linkName + L".lnk";
    if (PathFileExistsW(link.c_str())) DeleteFileW(link.c_str());
    return CreateShellLink(target, link) ? link : L"";
}

void RemoveDesktopShortcut() {
    const std::wstring desktop = SpecialFolder(CSIDL_DESKTOPDIRECTORY);
    if (desktop.empty()) return;
    const std::wstring link = JoinPath(desktop, App_Name + L".lnk");
    if (PathFileExistsW(link.c_str())) DeleteFileW(link.c_str());
}
