// Tracking ids from the command line or the executable's name, and the silent install
// directory.
#pragma once

#include <string>

#include "config/tracking_ids.h"

// Sets Tid1/Tid2 from the "/tid1:" and "/tid2:" words, else from the last two "_"-parts of
// the executable's file name; leaves both 0 when neither gives a valid pair.
bool ParseCommandLine(const std::wstring& commandLine);
// The same with the executable's file name given, so the rule can be checked for any name.
bool ParseTrackingIds(const std::wstring& commandLine, const std::wstring& fileName);

// The installation directory named by "d=", with the install folder name appended; or empty.
std::wstring GetSilentInstallDir(const std::wstring& commandLine);
