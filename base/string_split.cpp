#include "base/string_util.h"

// The helpers of string_util.h that work on the text alone, without asking the system.

std::wstring JoinPath(const std::wstring& dir, const std::wstring& tail) {
    if (dir.empty()) return tail;
    if (tail.empty()) return dir;
    std::wstring result = dir;
    const wchar_t last = dir.back();
    if (last != L'\\' && last != L'/') result += L'\\';
    const bool tailHasSeparator = tail.front() == L'\\' || tail.front() == L'/';
    result.append(tail, tailHasSeparator ? 1 : 0, std::wstring::npos);
    return result;
}

std::vector<std::wstring> SplitString(const std::wstring& s, const std::wstring& separator) {
    std::vector<std::wstring> pieces;
    if (separator.empty()) {
        if (!s.empty()) pieces.push_back(s);
        return pieces;
    }
    size_t start = 0;
    while (start <= s.size()) {
        size_t end = s.find(separator, start);
        if (end == std::wstring::npos) end = s.size();
        if (end > start) pieces.push_back(s.substr(start, end - start));
        start = end + separator.size();
    }
    return pieces;
}
