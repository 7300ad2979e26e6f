// Starting the installed application as the desktop's user.
#pragma once

#include <windows.h>

#include <string>

#include "base/handles.h"

// Starts `path` with `parameters` through the desktop's shell (the Explorer that owns the
// desktop): the program then runs with the desktop user's own rights, not with this
// process's elevated ones, which matters because it lies in a folder that user can write.
// Where no such shell offers itself to other processes (none runs, or it is not the
// system's), the program is started directly with ShellStart. The log says which way was
// taken and why. `process` (may be null) receives the process ShellStart made; the desktop's
// shell hands out none, so it stays empty then. `error`: the failing HRESULT of the shell's
// start, or ShellStart's error.
bool StartAsDesktopUser(const std::wstring& path, const std::wstring& parameters, int show,
                        UniqueHandle* process, DWORD* error);
