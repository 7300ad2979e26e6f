#include "base/string_util.h"

#include <windows.h>
#include <shlwapi.h>

#include <cstring>

namespace {

bool EqualNoCase(const wchar_t* a, const wchar_t* b, size_t count) {
    if (count == 0) return true;
    return CompareStringOrdinal(a, static_cast<int>(count), b, static_cast<int>(count), TRUE) ==
           CSTR_EQUAL;
}

}  // namespace

bool StartsWithNoCase(const std::wstring& s, const std::wstring& prefix) {
    return s.size() >= prefix.size() && EqualNoCase(s.c_str(), prefix.c_str(), prefix.size());
}

bool EndsWithNoCase(const std::wstring& s, const std::wstring& suffix) {
    return s.size() >= suffix.size() &&
           EqualNoCase(s.c_str() + (s.size() - suffix.size()), suffix.c_str(), suffix.size());
}

bool EqualsNoCase(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

bool StartsWithNoCaseA(const std::string& s, const char* prefix) {
    const size_t length = std::strlen(prefix);
    return s.size() >= length && _strnicmp(s.c_str(), prefix, length) == 0;
}

std::wstring IntToString(int n) {
    wchar_t buffer[32] = {};
    wnsprintfW(buffer, 32, L"%d", n);
    return buffer;
}

int StringToInt(const std::wstring& s) { return StrToIntW(s.c_str()); }
