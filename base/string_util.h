// Small text helpers shared by every subsystem.
#pragma once

#include <string>
#include <vector>

// Compares the leading (trailing) part of s of the prefix's (suffix's) length without
// regard to letter case; false when s is shorter, true for an empty prefix (suffix).
bool StartsWithNoCase(const std::wstring& s, const std::wstring& prefix);
bool EndsWithNoCase(const std::wstring& s, const std::wstring& suffix);
// The whole strings, without regard to letter case.
bool EqualsNoCase(const std::wstring& a, const std::wstring& b);
// StartsWithNoCase for narrow text, letters compared as ASCII.
bool StartsWithNoCaseA(const std::string& s, const char* prefix);

// dir + "\" + tail, with exactly one separator between them; either side may be empty.
std::wstring JoinPath(const std::wstring& dir, const std::wstring& tail);

// The non-empty pieces between separators, in order.
std::vector<std::wstring> SplitString(const std::wstring& s, const std::wstring& separator);

std::wstring IntToString(int n);
// The decimal number at the start of s as StrToIntW reads it; 0 when there is none.
int StringToInt(const std::wstring& s);
