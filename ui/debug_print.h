// Diagnostics for the debugger output.
#pragma once

// Formats like swprintf, appends CR LF and hands the line to OutputDebugStringW. A line
// that cannot be formatted within ten growing buffers is dropped.
void DebugPrint(const wchar_t* format, ...);
