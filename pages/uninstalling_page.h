// The window shown while the installation is removed: the product name, a banner, a slogan,
// a status line, a progress bar and the share of the removal list done. It carries the
// uninstall job the worker runs on, follows it on its timers and closes itself once the
// worker has finished.
#pragma once

#include <windows.h>

#include "install/uninstall_job.h"
#include "pages/page_parts.h"
#include "ui/lui_win.h"

class CUninstalling : public LUIWin, public UninstallJob, public ProgressControls {
public:
    // Builds the hidden window; the timer and the worker are started by whoever runs it.
    CUninstalling();
    // Waits for the worker, however long it takes: it writes into this object to the end.
    ~CUninstalling() override;

    // Starts the progress timer (kUninstallTimer, every 100 ms) and keeps its id.
    void StartProgressTimer();
    // UI thread: closes once `finished` is set; on any timer, shows the progress.
    bool OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    // Shows `count` of `total` entries on the bar and as a percentage; a total of 0 or less
    // shows nothing.
    void ShowUninstallProgress(int total, int count);

    // Controls, owned by the window, drawn before the progress block.
    LUIText* title = nullptr;
    LUIImage* logo = nullptr;
};

// The id of the page timer that polls the job.
constexpr UINT_PTR kUninstallTimer = 10;
