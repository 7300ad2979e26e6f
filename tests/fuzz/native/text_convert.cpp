// Native stand-ins for base/text_convert.cpp's UTF-8 conversions (MultiByteToWideChar and
// WideCharToMultiByte on Windows), through the C++ library's UTF-8 facet; the fuzzers link
// these instead. Text that is not valid UTF-8 (or wide text that is not valid Unicode) gives
// the empty string, as Utf8ToWide documents.
#include <codecvt>
#include <locale>
#include <stdexcept>
#include <string>

#include "base/text_convert.h"

#pragma clang diagnostic ignored "-Wdeprecated-declarations"

namespace {

using Converter = std::wstring_convert<std::codecvt_utf8<wchar_t>, wchar_t>;

}  // namespace

std::wstring Utf8ToWide(const char* text) {
    if (!text) return L"";
    try {
        return Converter().from_bytes(text);
    } catch (const std::range_error&) {
        return L"";
    }
}

std::string WideToUtf8(const std::wstring& text) {
    try {
        return Converter().to_bytes(text);
    } catch (const std::range_error&) {
        return "";
    }
}
