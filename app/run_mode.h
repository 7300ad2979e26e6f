// What kind of run this is, and the log a failed run keeps.
#pragma once

#include <string>

// True when the executable runs under the uninstaller's file name.
bool IsUninstallMode();

// Makes sure a failed run leaves its log: when no log file is in use yet, the log goes to
// the user's temporary folder, named with the product, the kind of run and the time.
// Returns the log file, empty when none could be written.
std::wstring KeepFailureLog();
