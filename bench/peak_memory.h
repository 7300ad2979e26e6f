// The process's peak memory as Windows reports it, for the benchmark programs.
#pragma once

#include <windows.h>
#include <psapi.h>

#include <cstdio>

inline void PrintPeakMemory() {
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                         sizeof counters);
    printf("peak private MB: %.1f\npeak working set MB: %.1f\n",
           counters.PeakPagefileUsage / 1048576.0, counters.PeakWorkingSetSize / 1048576.0);
}
