#include "transfer/item_path.h"

#include <algorithm>

std::wstring MakeItemPath(const std::wstring& dir, const std::wstring& name) {
    std::wstring path = dir;
    if (!name.empty()) path += L"\\" + name;
    std::replace(path.begin(), path.end(), L'/', L'\\');
    std::wstring collapsed;
    collapsed.reserve(path.size());
    for (wchar_t c : path) {
        if (c == L'\\' && !collapsed.empty() && collapsed.back() == L'\\') continue;
        collapsed += c;
    }
    return collapsed;
}

bool IsSafeItemPath(const std::wstring& name) {
    if (!name.empty() && (name[0] == L'\\' || name[0] == L'/')) return false;
    if (name.find(L':') != std::wstring::npos) return false;
    size_t start = 0;
    while (start <= name.size()) {
        size_t end = name.find_first_of(L"\\/", start);
        if (end == std::wstring::npos) end = name.size();
        const std::wstring part = name.substr(start, end - start);
        const bool dotsAndSpaces = !part.empty() && part.find_first_not_of(L". ") == std::wstring::npos;
        if (dotsAndSpaces && std::count(part.begin(), part.end(), L'.') >= 2) return false;
        start = end + 1;
    }
    return true;
}
