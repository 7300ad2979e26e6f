// The install and uninstall runs that follow start-up.
#pragma once

#include <string>

// Runs the uninstall when the executable is the uninstaller, else the install; returns when
// the run is over.
void RunSequences(const std::wstring& commandLine);
