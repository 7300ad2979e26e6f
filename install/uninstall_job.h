// What the uninstall worker and the page that shows its progress share.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>

#include "base/handles.h"

struct UninstallJob {
    // The installation directory: the uninstaller's own directory, set before the worker
    // starts; the files, the list and the executables are found relative to it.
    std::wstring baseDir;
    // False when the Uninstall entry records another installation of the product: the
    // entry, the links, the shell extension and the default viewer are then that one's and
    // stay; only what lies in baseDir goes.
    bool ownsRegistration = true;
    // The worker thread; whoever owns the job waits for it before the job goes away.
    UniqueHandle workerThread;
    // Progress, read by the page's timer while the worker writes it.
    std::atomic<int> removeTotal{0};
    std::atomic<int> removedCount{0};
    UINT_PTR uninstallTimerId = 0;
    // Set when a file of the installation was in use and is left for the next restart.
    std::atomic<int> restartNeeded{0};
    // Set when the running uninstaller is left for the next restart; the clean-up after the
    // process ends removes it sooner when it removes the installation directory.
    std::atomic<int> uninstallerScheduled{0};
    // The name it has since then; written by the worker before it finishes.
    std::wstring uninstallerPath;
    // The worker's last write; the page closes when it sees it.
    std::atomic<int> finished{0};
};
