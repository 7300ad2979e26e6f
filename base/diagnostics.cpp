#include "base/diagnostics.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <vector>

void DebugPrint(const wchar_t* format, ...) {
    constexpr size_t kStep = 512;
    constexpr int kAttempts = 10;
    for (int attempt = 1; attempt <= kAttempts; ++attempt) {
        std::vector<wchar_t> buffer(kStep * attempt);
        va_list args;
        va_start(args, format);
        const int written = _vsnwprintf(buffer.data(), buffer.size() - 2, format, args);
        va_end(args);
        if (written < 0 || static_cast<size_t>(written) >= buffer.size() - 2) continue;
        buffer[written] = L'\r';
        buffer[written + 1] = L'\n';
        OutputDebugStringW(buffer.data());
        return;
    }
}

unsigned MillisecondsSinceStart() {
    FILETIME created, exited, kernel, user, now;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0;
    GetSystemTimeAsFileTime(&now);
    const auto ticks = [](const FILETIME& t) {
        return static_cast<unsigned long long>(t.dwHighDateTime) << 32 | t.dwLowDateTime;
    };
    // FILETIME counts 100-nanosecond steps.
    return static_cast<unsigned>((ticks(now) - ticks(created)) / 10000);
}
