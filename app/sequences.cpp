#include "app/sequences.h"

#include <windows.h>
#include <shlwapi.h>

#include <vector>

#include "app/command_line.h"
#include "app/entry.h"
#include "app/exit_codes.h"
#include "base/file_util.h"
#include "base/string_util.h"
#include "config/ui_data.h"
#include "config/user_data_ini.h"
#include "install/install_pipeline.h"
#include "install/permissions.h"
#include "install/running_app.h"
#include "pages/install_page.h"
#include "pages/installing_page.h"
#include "pages/message_box.h"
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

void LaunchApp(const std::wstring& installDir) {
    ReportNewInstall(8, 1, 0, L"");
    DWORD error = 0;
    if (LaunchFile(JoinPath(installDir, Start_App), &error)) {
        ReportNewInstall(7, 1, 0, L"");
    } else {
        ReportNewInstall(7, 5, static_cast<int>(error), L"");
    }
}

int RunInstall(const std::wstring& commandLine) {
    // The interactive pages are not part of this build yet: such a run ends here, before it
    // reports anything.
    if (Silent_Install != 1) return kExitOk;
    CInstall install;
    install.SetInstallDir(GetSilentInstallDir(commandLine));
    if (install.cancelled || install.installDir.empty()) return kExitCancelled;
    const std::wstring dir = install.installDir;
    if (!PathFileExistsW(dir.c_str()) && !CreateDirectoryTree(dir)) return kExitFailed;
    GrantDirectoryAccess(dir);

    CInstalling installing;
    installing.installDir = dir;
    installing.setAsDefault = install.setAsDefault;
    installing.downloading = 1;
    installing.workerThread.reset(CreateThread(nullptr, 0, InstallThreadProc,
                                               static_cast<InstallJob*>(&installing), 0, nullptr));
    WriteUserDataIni(dir);
    if (installing.workerThread) WaitAnswering(installing.workerThread.get());
    const bool ok = installing.finished.load(std::memory_order_acquire) && installing.extractOk;
    if (ok) {
        LaunchApp(dir);
    } else {
        ReportNewInstall(8, 2, 0, L"");
    }
    StopReporter();
    return ok ? kExitOk : kExitFailed;
}

}  // namespace

int RunSequences(const std::wstring& commandLine) {
    if (!EndRunningApp(commandLine)) return kExitCancelled;
    // The uninstall's pages are not part of this build yet.
    if (IsUninstallMode()) return kExitOk;
    return RunInstall(commandLine);
}
