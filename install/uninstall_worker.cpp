#include "install/uninstall_worker.h"

#include <vector>

#include "base/desktop_launch.h"
#include "base/diagnostics.h"
#include "base/file_util.h"
#include "base/handles.h"
#include "base/resolved_path.h"
#include "base/string_util.h"
#include "config/ui_data.h"
#include "install/file_list.h"
#include "install/file_removal.h"
#include "install/path_relation.h"
#include "install/removal_scope.h"
#include "install/running_app.h"
#include "install/shell_extension.h"
#include "install/shortcuts.h"
#include "install/uninstall_entry.h"
#include "install/uninstall_job.h"

namespace {

constexpr DWORD kApplicationWaitMs = 30000;
constexpr DWORD kApplicationAppearMs = 5000;
constexpr DWORD kApplicationPollMs = 100;
constexpr DWORD kEntryPauseMs = 10;

// Waits until the application started by the desktop's shell, which hands out no process,
// has come and gone: found by its place in the installation, within the same bound.
void WaitForApplicationStartedByShell() {
    const DWORD start = GetTickCount();
    bool seen = false;
    for (DWORD waited = 0; waited < kApplicationWaitMs; waited = GetTickCount() - start) {
        std::vector<DWORD> running;
        const bool runs = FindRunningApp(running);
        if (!runs && (seen || waited >= kApplicationAppearMs)) return;
        seen = seen || runs;
        Sleep(kApplicationPollMs);
    }
}

// Lets the application undo what it registered for itself before its files go. It runs as
// the desktop's user, like every start of the application.
void RunApplicationCleanup(const std::wstring& appExe) {
    // No error box (ShellStart shows none): a missing application must not hold the
    // uninstall up.
    UniqueHandle process;
    if (!StartAsDesktopUser(appExe, L"/setdefault:4", SW_SHOWNORMAL, &process, nullptr)) return;
    if (process) {
        WaitForSingleObject(process.get(), kApplicationWaitMs);
    } else {
        WaitForApplicationStartedByShell();
    }
}

// Removes one entry of the removal list; with `insideOnly`, only one below baseDir. With
// `schedule`, a file that cannot be deleted now is renamed and left to the next restart; true
// when that happened.
bool RemoveEntry(const std::wstring& entry, const std::wstring& baseDir, bool insideOnly,
                 bool schedule) {
    std::wstring path;
    std::wstring resolved;
    if (!ResolveRemovalEntry(entry, baseDir, &path, &resolved)) {
        DebugPrint(L"[skipped, not created by the installation] %ls", entry.c_str());
        return false;
    }
    if (insideOnly && !IsPathBelow(path, baseDir)) {
        DebugPrint(L"[kept, the recorded installation's] %ls", path.c_str());
        return false;
    }
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        DebugPrint(L"[missing] %ls", path.c_str());
        return false;
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        DeleteTree(path, resolved);
        return false;
    }
    if (DeleteInPlace(path, resolved)) return false;
    const DWORD error = GetLastError();
    // A name that resolves elsewhere is a link put in the way: nothing to wait for.
    const bool scheduled = schedule && error != kResolvedElsewhere && DeleteOrSchedule(path);
    DebugPrint(L"[%d] %ls", static_cast<int>(error), path.c_str());
    return scheduled;
}

}  // namespace

DWORD WINAPI UninstallThreadProc(LPVOID param) {
    UninstallJob& job = *static_cast<UninstallJob*>(param);
    const std::wstring& baseDir = job.baseDir;
    const std::wstring appExe = baseDir + Start_App;
    const std::wstring uninstallExe = baseDir + Uninst_App;
    const std::wstring listFile = baseDir + App_Data_Ini;

    if (job.ownsRegistration) {
        RunApplicationCleanup(appExe);
        if (UnregisterShellExtension(baseDir)) job.restartNeeded = 1;
    }

    std::vector<std::wstring> list;
    ReadFileList(listFile, list);
    job.removeTotal = static_cast<int>(list.size());
    job.removedCount = 0;
    for (const std::wstring& entry : list) {
        if (RemoveEntry(entry, baseDir, !job.ownsRegistration, true)) job.restartNeeded = 1;
        Sleep(kEntryPauseMs);
        ++job.removedCount;
    }
    DeleteFileW(listFile.c_str());
    if (job.ownsRegistration) {
        DeleteUninstallKey(REG_KEY);
        RemoveDesktopShortcut();
    }
    // The running uninstaller cannot be deleted; the clean-up after the process ends does it.
    if (DeleteOrSchedule(uninstallExe, &job.uninstallerPath)) job.uninstallerScheduled = 1;
    job.finished.store(1, std::memory_order_release);
    return 0;
}

void RemovePreviousFiles(const std::wstring& oldDir) {
    const std::wstring listFile = oldDir + App_Data_Ini;
    std::vector<std::wstring> list;
    ReadFileList(listFile, list);
    for (const std::wstring& entry : list) RemoveEntry(entry, oldDir, false, false);
    DeleteFileW(listFile.c_str());
}
