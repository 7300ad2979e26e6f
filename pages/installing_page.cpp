#include "pages/installing_page.h"

#include "config/ui_data.h"
#include "pages/progress_display.h"
#include "report/report_front.h"
#include "ui/lui_progressbar.h"
#include "ui/lui_text.h"

namespace {

const UINT kInstallTimerInterval = 100;  // milliseconds

}  // namespace

CInstalling::CInstalling() {
    CreatePageWindow(this, L"CInstalling", false);
    AddProgressControls(this, L"正在下载...", L"简洁轻巧  极速看图  纯净无广告", this);
    // It closes itself once the worker has finished; nothing else may end it before.
    closesOnRequest = false;

    // The pipeline posts its phase messages here.
    progressWindow = hwnd;
    ReportNewInstall(2, 1, 0, L"");
    if (hwnd) installTimerId = SetTimer(hwnd, kInstallTimer, kInstallTimerInterval, nullptr);
}

// workerThread's handle closes with the job's members; nothing waits for the thread.
CInstalling::~CInstalling() = default;

bool CInstalling::OnMessage(HWND, UINT message, WPARAM wParam, LPARAM) {
    if (CloseWhenFinished(this, finished, &installTimerId)) return true;
    if (message == WM_SETUP_DOWNLOADING) {
        statusText->SetText(Downloading_Text_short);
    } else if (message == WM_SETUP_INSTALLING) {
        statusText->SetText(Installing_Text_short);
    } else if (message == WM_TIMER && wParam == kInstallTimer) {
        if (downloading) {
            // Both flags set: the worker's one-second pause between download and extraction,
            // which the page sits out holding its last picture.
            if (extracting) {
                Sleep(500);
            } else {
                ShowProgress(static_cast<unsigned>(downloadPercent.load()));
            }
        } else if (extracting) {
            ShowProgress(static_cast<unsigned>(extractPercent.load()));
        }
    }
    return true;
}

void CInstalling::OnProgress(int received, int total) {
    const int percent = DownloadPercent(received, total);
    if (percent >= 0) downloadPercent = percent;
}

void CInstalling::ShowProgress(unsigned percent) {
    if (BarTakesPercent(percent)) {
        progressBar->maximum = 100.0f;
        progressBar->value = static_cast<float>(percent);
    }
    percentText->SetTextEx(PercentLabel(percent), false);
    PlacePercentText(this, percentText);
}
