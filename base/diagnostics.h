// The one sink for diagnostics: the debugger output. The installer is a GUI program without
// a console, so a line on stderr would go nowhere; a debugger or DebugView shows these.
#pragma once

// Formats like swprintf, appends CR LF and hands the line to OutputDebugStringW. A line
// that cannot be formatted within ten growing buffers is dropped.
void DebugPrint(const wchar_t* format, ...);

// Milliseconds since this process was created, for timing lines.
unsigned MillisecondsSinceStart();
