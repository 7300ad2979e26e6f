// Conversions between wide text and narrow text in the thread's ANSI code page.
#pragma once

#include <string>

std::wstring AnsiToWide(const std::string& text);
std::string WideToAnsi(const std::wstring& text);
