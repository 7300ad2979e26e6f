// Move-only owner of memory the security functions hand out with LocalAlloc.
#pragma once

#include <windows.h>

#include "app/win_handle.h"

struct LocalMemoryTraits {
    using Handle = HLOCAL;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle memory) { LocalFree(memory); }
};
using UniqueLocalMemory = UniqueWinHandle<LocalMemoryTraits>;
