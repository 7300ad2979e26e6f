// The work that turns a chosen directory into an installed application: package (embedded
// or downloaded), extraction on a thread of its own, registration, the installed-file list.
// Every step is reported. The job's page follows through the job's fields and two posted
// messages (install/install_job.h).
#pragma once

#include <windows.h>

#include <string>

#include "install/install_job.h"

// Thread entry; `param` is the InstallJob. Never fails as a whole: the outcome is in the
// job's extractOk and errorText, and finished is its last write. Returns 1.
DWORD WINAPI InstallThreadProc(LPVOID param);

// Started by the worker: ends running copies, unregisters the old shell extension and
// extracts the package into installDir. Returns 0.
DWORD WINAPI ExtractThreadProc(LPVOID param);

// The package URL with "?t=" and the current time in seconds since 1970 appended.
std::wstring TimestampedUrl(const std::wstring& url);
