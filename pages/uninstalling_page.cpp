#include "pages/uninstalling_page.h"

#include <cstdint>

#include "config/ui_data.h"
#include "pages/progress_display.h"
#include "ui/lui_progressbar.h"
#include "ui/lui_text.h"

namespace {

const UINT kUninstallTimerInterval = 100;  // milliseconds

}  // namespace

CUninstalling::CUninstalling() {
    // Not stretched by nine-slice: the picture is the page at twice its size, and 16-pixel
    // slices would halve its 32-pixel margins at 96 DPI, pulling the panel's edges in
    // under the banner.
    CreatePageWindow(this, L"CUninstalling", false);
    title = AddHeaderTitle(this, Font_Family.c_str());
    logo = AddHeaderLogo(this);
    AddProgressControls(this, L"正在卸载...", L"我们会努力改进，期待与您再次相见", this);
    // It closes itself once the worker has finished; nothing else may end it before.
    closesOnRequest = false;
}

CUninstalling::~CUninstalling() {
    if (workerThread) WaitForSingleObject(workerThread.get(), INFINITE);
}

void CUninstalling::StartProgressTimer() {
    if (hwnd) uninstallTimerId = SetTimer(hwnd, kUninstallTimer, kUninstallTimerInterval, nullptr);
}

bool CUninstalling::OnMessage(HWND, UINT message, WPARAM, LPARAM) {
    if (CloseWhenFinished(this, finished, &uninstallTimerId)) return true;
    // The toolkit's refresh timer counts as well as the page's own.
    if (message == WM_TIMER) {
        const int total = removeTotal.load();
        if (total != 0) ShowUninstallProgress(total, removedCount.load());
    }
    return true;
}

void CUninstalling::ShowUninstallProgress(int total, int count) {
    if (total <= 0 || count < 0) return;
    if (count <= total) {
        progressBar->maximum = static_cast<float>(total);
        progressBar->value = static_cast<float>(count);
    }
    // In 64 bits: count * 100 overflows 32 bits from about 21 million entries on.
    const uint64_t percent = static_cast<uint64_t>(count) * 100 / static_cast<uint64_t>(total);
    percentText->SetTextEx(PercentLabel(static_cast<unsigned>(percent)), false);
    PlacePercentText(this, percentText);
}
