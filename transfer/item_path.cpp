#include "transfer/item_path.h"

#include <algorithm>

#include "base/string_util.h"

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

namespace {

// True when Windows opens a device for this component: a reserved name, alone or before an
// extension and trailing spaces ("nul", "COM1.txt", "con .log").
bool IsDeviceName(const std::wstring& part) {
    std::wstring stem = part.substr(0, part.find(L'.'));
    while (!stem.empty() && stem.back() == L' ') stem.pop_back();
    // COM0 to COM9 and LPT0 to LPT9, and those with a superscript one, two or three, compare
    // as COM# and LPT#.
    if (stem.size() == 4 && ((stem[3] >= L'0' && stem[3] <= L'9') || stem[3] == L'\u00B9' ||
                             stem[3] == L'\u00B2' || stem[3] == L'\u00B3')) {
        stem[3] = L'#';
    }
    static const wchar_t* const kDevices[] = {L"CON", L"PRN", L"AUX", L"NUL", L"COM#",
                                              L"LPT#", L"CONIN$", L"CONOUT$"};
    for (const wchar_t* device : kDevices) {
        if (EqualsNoCase(stem, device)) return true;
    }
    return false;
}

}  // namespace

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
        if (IsDeviceName(part)) return false;
        start = end + 1;
    }
    return true;
}
