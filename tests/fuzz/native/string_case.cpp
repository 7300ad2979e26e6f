// Native stand-ins for the helpers of base/string_util.h that ask Windows (base/string_util.cpp):
// the fuzzers link these instead. Letter case is folded with the C library's simple uppercase
// mapping of the C.UTF-8 locale, close to the ordinal case table CompareStringOrdinal uses;
// StringToInt reads like StrToIntW: an optional "-", then ASCII digits, kept in 32 bits.
#include <clocale>
#include <cstdint>
#include <cwctype>
#include <string>

#include "base/string_util.h"

namespace {

const bool kLocaleSet = std::setlocale(LC_CTYPE, "C.UTF-8") != nullptr;

bool EqualNoCase(const wchar_t* a, const wchar_t* b, size_t count) {
    (void)kLocaleSet;
    for (size_t i = 0; i < count; ++i) {
        if (std::towupper(static_cast<wint_t>(a[i])) != std::towupper(static_cast<wint_t>(b[i]))) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool StartsWithNoCase(const std::wstring& s, const std::wstring& prefix) {
    return s.size() >= prefix.size() && EqualNoCase(s.c_str(), prefix.c_str(), prefix.size());
}

bool EndsWithNoCase(const std::wstring& s, const std::wstring& suffix) {
    return s.size() >= suffix.size() &&
           EqualNoCase(s.c_str() + (s.size() - suffix.size()), suffix.c_str(), suffix.size());
}

// CompareStringOrdinal with a length of -1 stops at the first null character.
bool EqualsNoCase(const std::wstring& a, const std::wstring& b) {
    const std::wstring x(a.c_str()), y(b.c_str());
    return x.size() == y.size() && EqualNoCase(x.c_str(), y.c_str(), x.size());
}

int StringToInt(const std::wstring& s) {
    const wchar_t* p = s.c_str();
    const bool negative = *p == L'-';
    if (negative) ++p;
    uint32_t value = 0;
    for (; *p >= L'0' && *p <= L'9'; ++p) value = value * 10u + static_cast<uint32_t>(*p - L'0');
    return static_cast<int>(negative ? 0u - value : value);
}
