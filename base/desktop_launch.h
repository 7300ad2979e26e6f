// Starting programs and opening documents as the desktop's user.
#pragma once

#include <windows.h>

#include <string>

#include "base/handles.h"

// Starts `path` with `parameters` through the desktop's shell (the Explorer that owns the
// desktop): the program then runs with the desktop user's own rights, not with this
// process's elevated ones. That matters for the installed application, which lies in a
// folder that user can write, and for the browser a link opens. Where that shell cannot
// start it (none runs, or its desktop has no view), the program is started directly with
// ShellStart. The log says which way was taken and why. A file that does not exist fails
// before either. `process` (may be null) receives the process a direct start made; the
// desktop's shell hands out none. `error` receives the system's code of a failure, 0 after
// a start through the shell.
bool StartAsDesktopUser(const std::wstring& path, const std::wstring& parameters, int show,
                        UniqueHandle* process, DWORD* error);

// Opens `path` as the desktop's user (StartAsDesktopUser); `error` receives the failure's
// code, 0 after a success.
bool LaunchFile(const std::wstring& path, DWORD* error);
