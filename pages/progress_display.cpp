#include "pages/progress_display.h"

#include <cwchar>

int DownloadPercent(int received, int total) {
    if (total <= 0) return -1;
    // Stored step by step: the x87 unit of the 32-bit build would otherwise carry extra
    // precision and answer differently from the 64-bit build near whole numbers.
    const volatile float scaled = static_cast<float>(received) * 100.0f;
    const volatile float divisor = static_cast<float>(total) + 1.0f;
    const volatile float percent = scaled / divisor;
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
