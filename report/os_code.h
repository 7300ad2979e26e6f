// The one-byte code of the running Windows release that travels in every report.
#pragma once

#include <cstdint>

struct OsVersionNumbers {
    uint32_t platform = 0;  // VER_PLATFORM_WIN32_WINDOWS or VER_PLATFORM_WIN32_NT
    uint32_t major = 0, minor = 0, build = 0;
    uint8_t productType = 0;  // 1: workstation
};

// The code for what GetVersionExW reports. Returns -1 for NT 6.2 and later on a
// workstation, where the code depends on the true version (OsCodeForTrueVersion).
int ClassifyOsCode(const OsVersionNumbers& reported);
// The code for a workstation release of NT 6.2 or later from its true numbers.
int OsCodeForTrueVersion(uint32_t major, uint32_t minor, uint32_t build);

// Computed once per process from the live system; 0 when the version cannot be read (and
// then computed again on the next call).
int OsCode();
