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

// True when the command line starts with a silent switch ("/s", "/i", "-s", "-i", letter case
// ignored): only the start of the line counts, and any word with such a start.
bool HasSilentSwitch(const std::wstring& commandLine);

// Answers the running-application question with "terminate" without asking.
extern const wchar_t kCloseAppsSwitch[];

// Names the installer's log file: "/log=<file>", the file quoted when it holds blanks.
extern const wchar_t kLogSwitch[];

// True when a blank-separated word of the command line is `name` (letter case ignored).
bool HasSwitch(const std::wstring& commandLine, const wchar_t* name);

// The installation directory named by "d=", with the install folder name appended; or empty.
// The value ends at the end of the line or before a blank followed by a switch this program
// knows ("/tid1:", "/tid2:", "/closeapps", "/log=", "d="), so switches that deployment tools
// append after it are not taken into the directory name.
std::wstring GetSilentInstallDir(const std::wstring& commandLine);
// The same with the install folder name given.
std::wstring SilentInstallDirFor(const std::wstring& commandLine, const std::wstring& folderName);

// The file named by "/log=", ending like the "d=" value; empty without the switch.
std::wstring GetLogPath(const std::wstring& commandLine);
