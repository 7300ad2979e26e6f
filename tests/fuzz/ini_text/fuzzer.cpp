// The data ini's text (install/ini_text.cpp), as the package delivers it. Besides running the
// parser on any bytes, the pairs it finds, written back as ini text, must read back the same.
#include <cstddef>
#include <cstdint>
#include <string>

#include "install/ini_text.h"
#include "native/fuzz_check.h"

namespace {

const wchar_t kBlanks[] = L" \t\r\n\v\f";

std::string Narrow(const std::wstring& text) {
    std::string narrow;
    for (wchar_t c : text) {
        FUZZ_CHECK(c >= 0 && c <= 0xFF);  // each byte is one character
        narrow += static_cast<char>(c);
    }
    return narrow;
}

bool Trimmed(const std::wstring& text) {
    return text.empty() || (std::wstring(kBlanks).find(text.front()) == std::wstring::npos &&
                            std::wstring(kBlanks).find(text.back()) == std::wstring::npos);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const IniEntries entries = ParseIniText(std::string(reinterpret_cast<const char*>(data), size));
    std::string written;
    for (const auto& entry : entries) {
        const std::wstring& section = entry.first.first;
        const std::wstring& key = entry.first.second;
        FUZZ_CHECK(!key.empty());
        FUZZ_CHECK(Trimmed(key) && Trimmed(entry.second));
        FUZZ_CHECK(key.find(L'=') == std::wstring::npos);
        FUZZ_CHECK(section.find(L'\n') == std::wstring::npos);
        FUZZ_CHECK(entry.second.find(L'\n') == std::wstring::npos);
        written += "[" + Narrow(section) + "]\n" + Narrow(key) + "=" + Narrow(entry.second) + "\n";
    }
    FUZZ_CHECK(ParseIniText(written) == entries);
    return 0;
}
