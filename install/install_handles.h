// Move-only owners of the handle kinds the installation uses beyond app/win_handle.h.
#pragma once

#include <windows.h>

#include "app/win_handle.h"

// Memory the security functions hand out with LocalAlloc.
struct LocalMemoryTraits {
    using Handle = HLOCAL;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle memory) { LocalFree(memory); }
};
using UniqueLocalMemory = UniqueWinHandle<LocalMemoryTraits>;

// Directory enumerations (FindFirstFileW).
struct FindHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Handle handle) { FindClose(handle); }
};
using UniqueFindHandle = UniqueWinHandle<FindHandleTraits>;
