// The install and uninstall runs that follow start-up.
#pragma once

#include <string>

// Asks whether running copies of the application may be ended ("/closeapps" answers yes
// without asking), then runs the uninstall when the executable is the uninstaller, else the
// install. Returns the process exit code (app/exit_codes.h) when the run is over.
int RunSequences(const std::wstring& commandLine);
