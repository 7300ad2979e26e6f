// Removing an installation: the uninstall worker and the removal of an earlier installation.
#pragma once

#include <windows.h>

#include <string>

// Thread entry; `job` is an UninstallJob whose baseDir is set. Lets the application undo its
// default-viewer setting, unregisters the shell extension, deletes what AppData.ini lists
// (files first), the list, the Uninstall entry and the desktop link, and schedules the
// running uninstaller for deletion. Files in use are left for the next restart and noted in
// the job (restartNeeded, uninstallerScheduled). Sets the job's finished flag last; returns 0.
DWORD WINAPI UninstallThreadProc(LPVOID job);

// Deletes the listed files of an earlier installation in `oldDir` and its AppData.ini; the
// uninstaller there stays.
void RemovePreviousFiles(const std::wstring& oldDir);
