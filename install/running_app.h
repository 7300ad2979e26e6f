// Finding and ending the processes that run from the installed application's directory.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Appends the ids of processes (other than this one) whose executable lies below the
// directory of the installation recorded under REG_KEY. True when `list` is non-empty.
bool FindRunningApp(std::vector<DWORD>& list);

// The full Win32 path of the process's executable, or empty when it cannot be queried.
std::wstring GetProcessImagePath(DWORD processId);

// Terminates every process FindRunningApp finds, giving each up to 5 s to end.
void TerminateRunningApp();

// Terminates every process whose executable file name equals `name` (any letter case),
// this process included. The result of the last TerminateProcess call, 0 when none matched.
BOOL TerminateProcessesByName(const std::wstring& name);
