#include "app/sequences.h"

#include <windows.h>
#include <shlwapi.h>

#include <memory>
#include <vector>

#include "app/command_line.h"
#include "app/exit_codes.h"
#include "app/run_mode.h"
#include "base/diagnostics.h"
#include "base/file_util.h"
#include "base/probes.h"
#include "base/string_util.h"
#include "config/tracking_ids.h"
#include "config/ui_data.h"
#include "config/user_data_ini.h"
#include "install/file_list.h"
#include "install/install_pipeline.h"
#include "install/path_relation.h"
#include "install/permissions.h"
#include "install/removal_scope.h"
#include "install/running_app.h"
#include "install/self_delete.h"
#include "install/uninstall_entry.h"
#include "install/uninstall_worker.h"
#include "pages/install_page.h"
#include "pages/installed_page.h"
#include "pages/installing_page.h"
#include "pages/message_box.h"
#include "pages/uninstall_page.h"
#include "pages/uninstalled_page.h"
#include "pages/uninstalling_page.h"
#include "report/report_front.h"

namespace {

// True when the run may go on: no running copy, or the user (or "/closeapps") chose to end
// them.
bool EndRunningApp(const std::wstring& commandLine) {
    std::vector<DWORD> running;
    if (!FindRunningApp(running)) return true;
    if (!HasSwitch(commandLine, kCloseAppsSwitch)) {
        CMessageBox box(0);
        if (box.Show(App_Name, App_Running, Cancel, Termination, 2) != 1) return false;
    }
    TerminateRunningApp();
    return true;
}

// Waits for `thread` while keeping this thread's windows answering, so that nothing sent to
// them (a broadcast from the shell, say) waits on us.
void WaitAnswering(HANDLE thread) {
    while (MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    }
}

// Runs the install worker with the installing page: shown and closing itself when the
// worker is done, or (silent) never shown while this thread waits.
void RunInstallWorker(const CInstall& install, CInstalling& installing) {
    installing.installDir = install.installDir;
    installing.setAsDefault = install.setAsDefault;
    installing.downloading = 1;
    installing.workerThread.reset(CreateThread(nullptr, 0, InstallThreadProc,
                                               static_cast<InstallJob*>(&installing), 0, nullptr));
    WriteUserDataIni(install.installDir);
    if (!installing.workerThread) return;
    // The page closes once the worker has finished; a page that could not be shown returns
    // at once. Either way the job is read, and goes, only after the worker's end.
    if (Silent_Install != 1) installing.ShowModal();
    WaitAnswering(installing.workerThread.get());
}

int Install(const std::wstring& commandLine) {
    CInstall install;
    if (Silent_Install == 1) {
        install.SetInstallDir(GetSilentInstallDir(commandLine));
    } else {
        if (install.CheckExistingInstall()) return kExitCancelled;
        if (install.existingDir.empty()) install.ShowModal();
    }
    if (install.cancelled || install.installDir.empty()) return kExitCancelled;
    const std::wstring& dir = install.installDir;
    if (!PathFileExistsW(dir.c_str()) && !CreateDirectoryTree(dir)) {
        DebugPrint(L"[%d] the installation directory cannot be created: %ls",
                   static_cast<int>(GetLastError()), dir.c_str());
        return kExitFailed;
    }
    GrantDirectoryAccess(dir);

    CInstalling installing;
    RunInstallWorker(install, installing);
    const bool ok = installing.finished.load(std::memory_order_acquire) && installing.extractOk;
    // Written before the installed page, which names it.
    if (!ok) KeepFailureLog();
    if (Silent_Install != 1 && (!ok || (Tid1 == 3 && Tid2 == 1))) {
        // The page reports the outcome itself and starts the application on request. A
        // worker that never ran left no text, and the page still must show a failure.
        const std::wstring& errorText = installing.errorText.empty() ? Install_Error
                                                                    : installing.errorText;
        CInstalled installed(ok ? std::wstring() : errorText);
        installed.installDir = dir;
        installed.ShowModal();
    } else if (ok) {
        ReportNewInstall(8, 1, 0, L"");
        StartInstalledApp(dir);
    } else {
        ReportNewInstall(8, 2, 0, L"");
    }
    return ok ? kExitOk : kExitFailed;
}

int RunInstall(const std::wstring& commandLine) {
    const int code = Install(commandLine);
    // However the run ended, what it queued (the install page's first report at least) is
    // sent before the process goes.
    StopReporter();
    return code;
}

// The exit code of a finished uninstall: 3010 when a file waits for the next restart. The
// running uninstaller is always registered for it, but needs no restart when the clean-up
// batch was started and removes the directory it was renamed in.
int UninstallExitCode(const UninstallJob& job, bool cleanUpStarted) {
    if (job.restartNeeded.load()) return kExitRestartNeeded;
    const bool cleanUpRemovesDir = cleanUpStarted && IsNamedLikeInstallDir(job.baseDir);
    if (job.uninstallerScheduled.load() && !cleanUpRemovesDir) return kExitRestartNeeded;
    return kExitOk;
}

// The uninstall with its pages, or (silent, by the uninstaller's own switch) without any:
// the survey's report is then the plain choice to uninstall.
int RunUninstall(bool silent, bool ownsRegistration) {
    if (silent) {
        ReportUninstall(0, kUninstallChosen);
    } else {
        CUninstall uninstall;
        uninstall.ShowModal();
        if (uninstall.cancelled) {
            // The page's last report was queued as it closed; the process must not end
            // before it is sent.
            StopReporter();
            return kExitCancelled;
        }
    }
    // The user may have started the application while the question was open.
    TerminateRunningApp();

    // The progress page is the job when there is one to show.
    std::unique_ptr<CUninstalling> page(silent ? nullptr : new CUninstalling);
    UninstallJob silentJob;
    UninstallJob& job = page ? *page : silentJob;
    job.baseDir = GetModuleDir();
    job.ownsRegistration = ownsRegistration;
    DebugPrint(L"uninstalling from %ls", job.baseDir.c_str());
    if (page) page->StartProgressTimer();
    job.workerThread.reset(CreateThread(nullptr, 0, UninstallThreadProc, &job, 0, nullptr));
    if (!job.workerThread) {
        // Nothing was removed; the page would wait for a worker that never comes.
        DebugPrint(L"[%d] the removal cannot start", static_cast<int>(GetLastError()));
        StopReporter();
        return kExitFailed;
    }
    if (page) page->ShowModal();
    // The page closes once the worker has finished; a page that could not be shown returns
    // at once, and the results are read only after the worker's end either way.
    WaitAnswering(job.workerThread.get());

    if (!silent) {
        CUninstalled uninstalled;
        uninstalled.ShowModal();
    }
    StopReporter();
    TerminateProcessesByName(LW_Live);
    const bool cleanUpStarted =
        ScheduleSelfDelete(job.uninstallerScheduled.load() ? job.uninstallerPath : GetModulePath());
    return UninstallExitCode(job, cleanUpStarted);
}

}  // namespace

int RunSequences(const std::wstring& commandLine) {
    if (!IsUninstallMode()) {
        if (!EndRunningApp(commandLine)) return kExitCancelled;
        return RunInstall(commandLine);
    }
    // A document packed with the silent option makes installs silent, never the removal.
    const bool silent = HasSilentSwitch(commandLine);
    // An uninstaller copied elsewhere would end, start and remove what it finds beside it
    // with the rights it was given: it removes only an installation, the one the Uninstall
    // entry records, or one the entry no longer records (removed by hand, or taken over by a
    // later installation elsewhere) whose directory holds the file list written for it.
    const std::wstring dir = GetModuleDir();
    const std::wstring recorded = ReadInstallLocation(REG_KEY);
    const bool recordedHere = IsSameDirectory(recorded, dir);
    const bool unrecordedInstallation =
        IsNamedLikeInstallDir(dir) && ListsFilesBelow(dir + App_Data_Ini, dir);
    if (!recordedHere && !unrecordedInstallation) {
        DebugPrint(L"this uninstaller is not in an installation (the Uninstall entry records "
                   L"\"%ls\"): nothing is removed", recorded.c_str());
        if (!silent) {
            MessageBoxW(nullptr, Uninstaller_Elsewhere.c_str(), App_Name.c_str(),
                        MB_OK | MB_ICONERROR);
        }
        return kExitNotInstalled;
    }
    if (recorded.empty()) {
        DebugPrint(L"the Uninstall entry records no installation: removing %ls", dir.c_str());
    } else if (!recordedHere) {
        DebugPrint(L"the Uninstall entry records %ls: only %ls is removed", recorded.c_str(),
                   dir.c_str());
    }
    // Started from its link or from a console in the installation, the uninstaller's current
    // directory is the one it removes; held as such, that directory could not be opened for
    // deletion, and nothing in it would go.
    const std::wstring systemDir = SystemFolder(GetSystemDirectoryW);
    if (!systemDir.empty()) SetCurrentDirectoryW(systemDir.c_str());
    if (!EndRunningApp(commandLine)) return kExitCancelled;
    return RunUninstall(silent, recordedHere || recorded.empty());
}
