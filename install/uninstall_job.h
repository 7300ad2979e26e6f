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
    // The worker thread; whoever owns the job waits for it before the job goes away.
    UniqueHandle workerThread;
    // Progress, read by the page's timer while the worker writes it.
    std::atomic<int> removeTotal{0};
    std::atomic<int> removedCount{0};
    UINT_PTR uninstallTimerId = 0;
    // The worker's last write; the page closes when it sees it.
    std::atomic<int> finished{0};
};
