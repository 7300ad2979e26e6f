// The window shown while the package is downloaded and unpacked: a banner, a slogan, a
// status line, a progress bar and a percentage. It carries the install job the worker
// runs on, downloads with it (its OnProgress records the percentage), follows the job on
// a 100 ms timer and closes itself once the worker has finished.
#pragma once

#include <windows.h>

#include "install/install_job.h"
#include "pages/page_parts.h"
#include "ui/lui_win.h"

class CInstalling : public LUIWin, public InstallJob, public ProgressControls {
public:
    // Builds the hidden window, reports install step 2 and starts the page timer.
    CInstalling();
    // Closes the worker's handle without waiting for the worker.
    ~CInstalling() override;

    // UI thread: the worker's phase messages, the timer, and closing once `finished`.
    bool OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    // Worker thread, inside Download: records the download percentage.
    void OnProgress(int received, int total) override;
    // Shows a percentage on the bar (up to 100) and on the label.
    void ShowProgress(unsigned percent);

    UINT_PTR installTimerId = 0;
};

// The id of the page timer that polls the job.
constexpr UINT_PTR kInstallTimer = 1000;
