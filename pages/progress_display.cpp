#include "pages/progress_display.h"

#include <cwchar>

int DownloadPercent(int received, int total) {
    if (total <= 0) return -1;
    const float percent = static_cast<float>(received) * 100.0f / (static_cast<float>(total) + 1.0f);
    // Converting a float beyond int's range is undefined; a server that sends more than it
    // announced must not make the label run past 100.
    if (percent <= 0.0f) return 0;
    if (percent >= 100.0f) return 100;
    return static_cast<int>(percent);
}

bool BarTakesPercent(unsigned percent) { return static_cast<float>(percent) <= 100.0f; }

std::wstring PercentLabel(unsigned percent) {
    wchar_t text[16] = {};
    std::swprintf(text, 16, L"%u%%", percent);
    return text;
}
