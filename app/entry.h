// Start-up: single instance, run mode, tracking ids, GDI+, configuration, system check.
#pragma once

#include <windows.h>

#include <string>

// Runs the whole program for the raw command line; returns the exit code (app/exit_codes.h).
int RunSetup(HINSTANCE instance, const std::wstring& commandLine);

// EnumWindows callback that raises every visible window of ours (class "LUI_...").
BOOL CALLBACK ActivateExistingWindow(HWND window, LPARAM unused);
