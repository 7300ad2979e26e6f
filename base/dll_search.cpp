#include "base/dll_search.h"

#include <windows.h>

#include "base/file_util.h"
#include "base/string_util.h"

void LimitDllSearchToSystem() {
    // Takes the current directory out of the search, also where the call below is missing.
    SetDllDirectoryW(L"");
    // GDI+ misbehaves when it is first loaded after the search was limited: it is loaded
    // now, by its full path in the system directory.
    const std::wstring system = SystemFolder(GetSystemDirectoryW);
    if (!system.empty()) LoadLibraryW(JoinPath(system, L"gdiplus.dll").c_str());
    // Vista and 7 have the call only with an update, so it is looked up.
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    const auto setDefaultDllDirectories = reinterpret_cast<SetDefaultDllDirectoriesFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"),
                                               "SetDefaultDllDirectories")));
    if (setDefaultDllDirectories) setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
}
