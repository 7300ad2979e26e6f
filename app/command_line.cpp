#include "app/command_line.h"

#include <windows.h>
#include <shlwapi.h>

#include <string>

#include "base/probes.h"
#include "base/string_util.h"
#include "config/ui_data.h"

const wchar_t kCloseAppsSwitch[] = L"/closeapps";

namespace {

// Switches that may follow the "d=" value.
const wchar_t* const kSwitchesAfterDirectory[] = {L"/tid1:", L"/tid2:", kCloseAppsSwitch};

// Where the "d=" value starting at `from` ends: before the first " /<known switch>".
size_t DirectoryValueEnd(const std::wstring& commandLine, size_t from) {
    for (size_t blank = commandLine.find(L' ', from); blank != std::wstring::npos;
         blank = commandLine.find(L' ', blank + 1)) {
        const std::wstring rest = commandLine.substr(blank + 1);
        for (const wchar_t* name : kSwitchesAfterDirectory) {
            if (StartsWithNoCase(rest, name)) return blank;
        }
    }
    return commandLine.size();
}

// A file-name part counts only when it is all decimal digits.
int DigitsValue(const std::wstring& text) {
    if (text.empty() || text.find_first_not_of(L"0123456789") != std::wstring::npos) return 0;
    return StrToIntW(text.c_str());
}

}  // namespace

bool ParseTrackingIds(const std::wstring& commandLine, const std::wstring& fileName) {
    for (const std::wstring& word : SplitString(commandLine, L" ")) {
        if (StartsWithNoCase(word, L"/tid1:")) {
            Tid1 = StrToIntW(word.c_str() + 6);
        } else if (StartsWithNoCase(word, L"/tid2:")) {
            Tid2 = StrToIntW(word.c_str() + 6);
        }
    }
    const std::wstring stem = fileName.size() > 4 ? fileName.substr(0, fileName.size() - 4) : L"";
    const std::vector<std::wstring> parts = SplitString(stem, L"_");
    if (!IsValidTrackingPair(Tid1, Tid2) && parts.size() >= 3) {
        Tid1 = DigitsValue(parts[parts.size() - 2]);
        Tid2 = DigitsValue(parts.back());
    }
    if (IsValidTrackingPair(Tid1, Tid2)) return true;
    Tid1 = Tid2 = 0;
    return false;
}

bool ParseCommandLine(const std::wstring& commandLine) {
    const std::wstring path = GetModulePath();
    return ParseTrackingIds(commandLine, PathFindFileNameW(path.c_str()));
}

bool HasSwitch(const std::wstring& commandLine, const wchar_t* name) {
    for (const std::wstring& word : SplitString(commandLine, L" ")) {
        if (EqualsNoCase(word, name)) return true;
    }
    return false;
}

std::wstring GetSilentInstallDir(const std::wstring& commandLine) {
    const size_t at = commandLine.find(L"d=");
    if (at == std::wstring::npos || at == 0) return L"";
    std::wstring value = commandLine.substr(at + 2, DirectoryValueEnd(commandLine, at + 2) - (at + 2));
    while (!value.empty() && value.back() == L' ') value.pop_back();
    if (!value.empty() && value.front() == L'"') {
        value = value.size() >= 2 ? value.substr(1, value.size() - 2) : L"";
    }
    value += L"\\" + Install_Dir;
    std::wstring result;
    result.reserve(value.size());
    for (size_t i = 0; i < value.size(); ++i) {
        const wchar_t c = value[i] == L'/' ? L'\\' : value[i];
        const bool nextIsBackslash =
            i + 1 < value.size() && (value[i + 1] == L'\\' || value[i + 1] == L'/');
        if (c == L'\\' && nextIsBackslash) ++i;  // a doubled separator becomes one
        result += c;
    }
    if (!result.empty() && result.back() == L'\\') result.pop_back();
    return result;
}
