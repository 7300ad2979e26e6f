#include "install/shell_extension.h"

#include <windows.h>
#include <shellapi.h>
#include <shlwapi.h>

#include "base/desktop_launch.h"
#include "base/file_util.h"
#include "base/handles.h"
#include "base/string_util.h"
#include "config/ui_data.h"
#include "install/file_removal.h"

namespace {

const wchar_t kShellExtension32[] = L"lwpicshellext.dll";
const wchar_t kShellExtension64[] = L"lwpicshellext64.dll";
constexpr DWORD kUnregisterWaitMs = 30000;

// Starts regsvr32.exe elevated. It is named by its full path and runs in the system
// directory, so no program or DLL the user placed elsewhere is loaded with our rights.
UniqueHandle StartRegsvr32(const std::wstring& parameters) {
    const std::wstring program = SystemRegsvr32Path();
    const std::wstring workDir = SystemFolder(GetSystemDirectoryW);
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = L"runas";
    info.lpFile = program.c_str();
    info.lpParameters = parameters.c_str();
    info.lpDirectory = workDir.c_str();
    info.nShow = SW_SHOWNORMAL;
    if (program.empty() || !ShellExecuteExW(&info)) return UniqueHandle();
    return UniqueHandle(info.hProcess);
}

}  // namespace

std::wstring SystemRegsvr32Path() {
    const std::wstring dir = SystemFolder(GetSystemDirectoryW);
    return dir.empty() ? L"" : JoinPath(dir, L"regsvr32.exe");
}

std::wstring ShellExtensionName() {
    SYSTEM_INFO info = {};
    GetNativeSystemInfo(&info);
    const WORD architecture = info.wProcessorArchitecture;
    return architecture == PROCESSOR_ARCHITECTURE_AMD64 ||
                   architecture == PROCESSOR_ARCHITECTURE_IA64
               ? kShellExtension64
               : kShellExtension32;
}

bool RegisterShellExtension(const std::wstring& dir) {
    const std::wstring path = JoinPath(dir, ShellExtensionName());
    if (!PathFileExistsW(path.c_str())) return false;
    StartRegsvr32(L"/s \"" + path + L"\"");
    return true;
}

bool UnregisterShellExtension(const std::wstring& dir) {
    bool scheduled = false;
    for (const wchar_t* name : {kShellExtension32, kShellExtension64}) {
        const std::wstring path = JoinPath(dir, name);
        if (!PathFileExistsW(path.c_str())) continue;
        // regsvr32 must have loaded the DLL before it goes, or the unregistration never runs.
        const UniqueHandle process = StartRegsvr32(L"/u /s \"" + path + L"\"");
        if (process) WaitForSingleObject(process.get(), kUnregisterWaitMs);
        if (DeleteOrSchedule(path)) scheduled = true;
    }
    return scheduled;
}

void SetDefaultViewer(const std::wstring& dir) {
    if (dir.empty()) return;
    const std::wstring exe = JoinPath(dir, Start_App);
    StartAsDesktopUser(exe, L"/setdefault:1", SW_HIDE, nullptr, nullptr);
}
