#include "pages/installing_page.h"

#include "config/ui_data.h"
#include "pages/progress_display.h"
#include "report/report_front.h"
#include "ui/lui_image.h"
#include "ui/lui_progressbar.h"
#include "ui/lui_text.h"

namespace {

const int kBackgroundPng = 129;
const int kBannerPng = 180;
const UINT kInstallTimerInterval = 100;  // milliseconds
const Gdiplus::ARGB kBarColor = 0xFF2369FC;
const Gdiplus::ARGB kTrackColor = 0xFFE6E6E6;
const Gdiplus::ARGB kStatusColor = 0xFF555555;
const Gdiplus::ARGB kSloganColor = 0xFF333333;
const int kSloganFontSize = 20;

}  // namespace

CInstalling::CInstalling() {
    Create(App_Name);
    SetSize(Scale(632), Scale(432));
    SetBackground(kBackgroundPng, Scale(16), Scale(16), Scale(16), Scale(16), false);
    const RECT content = GetContentRect();

    progressBar = new LUIProgressbar(this);
    progressBar->SetRect(Scale(30), Scale(348), Scale(540), Scale(8));
    progressBar->barColor = kBarColor;
    progressBar->trackColor = kTrackColor;

    statusText = new LUIText(this);
    statusText->SetFontFamily(Font_Family);
    statusText->fontSize = Scale(Font_Size_12);
    statusText->textColor = kStatusColor;
    statusText->SetText(L"正在下载...");
    statusText->x = Scale(30);
    statusText->y = content.bottom - statusText->height - Scale(20);

    percentText = new LUIText(this);
    percentText->SetFontFamily(Font_Family);
    percentText->fontSize = Scale(Font_Size_12);
    percentText->textColor = kStatusColor;
    percentText->horizontalAlignment = Gdiplus::StringAlignmentFar;
    percentText->SetTextEx(L"0%", false);
    percentText->SetSize(Scale(50), percentText->MeasureText().height);
    PlacePercentText();

    banner = new LUIImage(this);
    banner->SetRect(0, Scale(46), Scale(600), Scale(232));
    banner->LoadImage(kBannerPng);

    slogan = new LUIText(this);
    slogan->fontSize = Scale(kSloganFontSize);
    slogan->textColor = kSloganColor;
    slogan->SetText(L"简洁轻巧  极速看图  纯净无广告");
    slogan->CenterX(Scale(288));

    // The pipeline posts its phase messages here.
    progressWindow = hwnd;
    ReportNewInstall(2, 1, 0, L"");
    if (hwnd) installTimerId = SetTimer(hwnd, kInstallTimer, kInstallTimerInterval, nullptr);
}

// workerThread's handle closes with the job's members; nothing waits for the thread.
CInstalling::~CInstalling() = default;

void CInstalling::PlacePercentText() {
    // Scaled like every other distance on the page, so the label keeps its place at the
    // first update on any screen.
    percentText->AlignRightBottom(Scale(30), Scale(20));
}

bool CInstalling::OnMessage(HWND, UINT message, WPARAM wParam, LPARAM) {
    if (finished.load(std::memory_order_acquire)) {
        if (installTimerId) KillTimer(hwnd, installTimerId);
        installTimerId = 0;
        Close();
        return true;
    }
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
    // The label keeps its width, right-aligned inside it, so no digit count clips it.
    percentText->SetTextEx(PercentLabel(percent), false);
    PlacePercentText();
}
