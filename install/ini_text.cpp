#include "install/ini_text.h"

namespace {

const char kBlanks[] = " \t\r\n\v\f";

std::string Trim(const std::string& text) {
    const size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// Each byte becomes the character of the same value.
std::wstring Widen(const std::string& text) {
    std::wstring wide;
    wide.reserve(text.size());
    for (const char c : text) wide += static_cast<wchar_t>(static_cast<unsigned char>(c));
    return wide;
}

}  // namespace

IniEntries ParseIniText(const std::string& text) {
    IniEntries entries;
    std::wstring section;
    bool inSection = false;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string line = Trim(text.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line[0] == ';' || line[0] == '#') continue;
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            section = Widen(line.substr(1, line.size() - 2));
            inSection = true;
            continue;
        }
        const size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        const std::string key = Trim(line.substr(0, equals));
        if (key.empty() || !inSection) continue;
        entries[{section, Widen(key)}] = Widen(Trim(line.substr(equals + 1)));
    }
    return entries;
}
