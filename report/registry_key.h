// A move-only owner of an open registry key.
#pragma once

#include <windows.h>

#include "app/win_handle.h"

struct RegKeyTraits {
    using Handle = HKEY;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle handle) { RegCloseKey(handle); }
};
using UniqueRegKey = UniqueWinHandle<RegKeyTraits>;
