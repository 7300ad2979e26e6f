// Conversions between wide text and UTF-8 or the thread's ANSI code page.
#pragma once

#include <string>

// Empty for null and for text that is not valid UTF-8.
std::wstring Utf8ToWide(const char* text);
std::string WideToUtf8(const std::wstring& text);

std::wstring AnsiToWide(const std::string& text);
std::string WideToAnsi(const std::wstring& text);
