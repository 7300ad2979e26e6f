// Move-only owner of an open registry key.
#pragma once

#include <windows.h>

#include "app/win_handle.h"

struct RegistryKeyTraits {
    using Handle = HKEY;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle key) { RegCloseKey(key); }
};
using UniqueHKey = UniqueWinHandle<RegistryKeyTraits>;
