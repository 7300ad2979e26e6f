// The one sink for diagnostics. Every line goes to the debugger output (the installer is a
// GUI program without a console, so a line on stderr would go nowhere; a debugger or
// DebugView shows these) and into the run's log: kept in memory from the start of the
// process, and written to a file as well once one is named.
#pragma once

#include <string>

// Formats like swprintf, appends CR LF and hands the line to OutputDebugStringW and the log.
// A line that cannot be formatted within ten growing buffers is dropped.
void DebugPrint(const wchar_t* format, ...);

// Milliseconds since this process was created, for timing lines.
unsigned MillisecondsSinceStart();

// Makes `path` the log file: created or replaced (with any missing folders), filled with
// every line so far as UTF-8 text, and extended by every later line. False, with the lines
// still kept in memory, when the file cannot be created.
bool WriteLogTo(const std::wstring& path);
// The log file in use, or empty.
std::wstring LogPath();
