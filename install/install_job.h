// What the install worker, its extraction thread and the page that shows their progress
// share. The installing page derives from InstallJob; the pipeline sees only this part, and
// downloads through the job's LHttp base, whose OnProgress the page overrides.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

#include "base/handles.h"
#include "transfer/archive_extractor.h"
#include "transfer/lhttp.h"

// Posted (wParam and lParam 0) to the job's window: right before the download request, and
// by the extraction thread right before the extraction starts.
constexpr UINT WM_SETUP_DOWNLOADING = WM_USER + 100;
constexpr UINT WM_SETUP_INSTALLING = WM_USER + 101;

struct InstallJob : LHttp {
    // Phases and percentages, written by the worker threads and polled by the page's timer.
    std::atomic<int> downloading{0};
    std::atomic<int> downloadPercent{0};
    std::atomic<int> extracting{0};
    std::atomic<int> extractPercent{0};
    // Every path the installation created: the archive's items in archive order, then the
    // links. Written by the extraction thread while it runs, by the worker after it ended.
    std::vector<std::wstring> fileList;
    std::wstring installDir;
    // The worker thread; the page closes the handle when it goes, without waiting.
    UniqueHandle workerThread;
    // The downloaded package; empty when the package is embedded.
    std::wstring packagePath;
    std::atomic<int> extractOk{0};
    // Why the installation failed; empty after success.
    std::wstring errorText;
    // The worker's last write (release); whoever reads the results first reads this
    // (acquire), so extractOk and errorText are complete by then.
    std::atomic<int> finished{0};
    CArchiveExtractor extractor;
    int setAsDefault = 0;
    // Where the two messages go; none are posted while it is null (a silent install).
    HWND progressWindow = nullptr;
};
