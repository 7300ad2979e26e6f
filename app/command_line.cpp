#include "app/command_line.h"

#include <cwchar>
#include <string>

#include "base/string_util.h"

const wchar_t kCloseAppsSwitch[] = L"/closeapps";
const wchar_t kLogSwitch[] = L"/log=";

namespace {

// Switches that may follow a value that can hold blanks ("d=", "/log="); a quote may stand
// before each (Wine and some tools quote a whole argument that holds a blank).
const wchar_t* const kSwitchesAfterValue[] = {L"/tid1:", L"/tid2:", kCloseAppsSwitch,
                                              kLogSwitch, L"d="};

// Where the value starting at `from` ends: before the first " <known switch>".
size_t ValueEnd(const std::wstring& commandLine, size_t from) {
    for (size_t blank = commandLine.find(L' ', from); blank != std::wstring::npos;
         blank = commandLine.find(L' ', blank + 1)) {
        std::wstring rest = commandLine.substr(blank + 1);
        if (!rest.empty() && rest.front() == L'"') rest.erase(0, 1);
        for (const wchar_t* name : kSwitchesAfterValue) {
            if (StartsWithNoCase(rest, name)) return blank;
        }
    }
    return commandLine.size();
}

// The value after the switch found at `at` (its name `length` long), without the quotes
// around it, or around the whole switch.
std::wstring SwitchValue(const std::wstring& commandLine, size_t at, size_t length) {
    const size_t from = at + length;
    std::wstring value = commandLine.substr(from, ValueEnd(commandLine, from) - from);
    while (!value.empty() && value.back() == L' ') value.pop_back();
    const bool switchQuoted = at > 0 && commandLine[at - 1] == L'"';
    if (!value.empty() && value.front() == L'"') {
        value = value.size() >= 2 ? value.substr(1, value.size() - 2) : L"";
    } else if (switchQuoted && !value.empty() && value.back() == L'"') {
        value.pop_back();
    }
    return value;
}

// Where "/log=" stands as a word of its own, perhaps quoted as a whole; npos without it.
size_t FindLogSwitch(const std::wstring& commandLine) {
    for (size_t at = 0; at < commandLine.size(); ++at) {
        const bool wordStart = at == 0 || commandLine[at - 1] == L' ' || commandLine[at - 1] == L'"';
        if (wordStart && StartsWithNoCase(commandLine.substr(at), kLogSwitch)) return at;
    }
    return std::wstring::npos;
}

// A file-name part counts only when it is all decimal digits.
int DigitsValue(const std::wstring& text) {
    if (text.empty() || text.find_first_not_of(L"0123456789") != std::wstring::npos) return 0;
    return StringToInt(text);
}

}  // namespace

bool ParseTrackingIds(const std::wstring& commandLine, const std::wstring& fileName) {
    for (const std::wstring& word : SplitString(commandLine, L" ")) {
        if (StartsWithNoCase(word, L"/tid1:")) {
            Tid1 = StringToInt(word.substr(6));
        } else if (StartsWithNoCase(word, L"/tid2:")) {
            Tid2 = StringToInt(word.substr(6));
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

bool HasSilentSwitch(const std::wstring& commandLine) {
    for (const wchar_t* silent : {L"-i", L"/i", L"/s", L"-s"}) {
        if (StartsWithNoCase(commandLine, silent)) return true;
    }
    return false;
}

bool HasSwitch(const std::wstring& commandLine, const wchar_t* name) {
    for (const std::wstring& word : SplitString(commandLine, L" ")) {
        if (EqualsNoCase(word, name)) return true;
    }
    return false;
}

std::wstring SilentInstallDirFor(const std::wstring& commandLine, const std::wstring& folderName) {
    // A "d=" inside the log file's name ("/log=C:\build=2\setup.log") is part of that name.
    const size_t log = FindLogSwitch(commandLine);
    const size_t logEnd =
        log == std::wstring::npos ? log : ValueEnd(commandLine, log + wcslen(kLogSwitch));
    size_t at = commandLine.find(L"d=");
    while (at != std::wstring::npos && log != std::wstring::npos && at > log && at < logEnd) {
        at = commandLine.find(L"d=", at + 1);
    }
    if (at == std::wstring::npos || at == 0) return L"";
    std::wstring value = SwitchValue(commandLine, at, 2) + L"\\" + folderName;
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

std::wstring GetLogPath(const std::wstring& commandLine) {
    const size_t at = FindLogSwitch(commandLine);
    return at == std::wstring::npos ? L"" : SwitchValue(commandLine, at, wcslen(kLogSwitch));
}
