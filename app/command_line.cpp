#include "app/command_line.h"

#include <windows.h>
#include <shlwapi.h>

#include <cwchar>
#include <string>

#include "app/probes.h"
#include "app/string_util.h"
#include "config/resources.h"
#include "config/ui_data.h"

int Tid1 = 0;
int Tid2 = 0;

namespace {

constexpr unsigned char kIniKey = 0x3A;
const wchar_t kIniMarker[] = L"EDSTRING";
constexpr size_t kIniMarkerLength = 8;

// A file-name part counts only when it is all decimal digits.
int DigitsValue(const std::wstring& text) {
    if (text.empty() || text.find_first_not_of(L"0123456789") != std::wstring::npos) return 0;
    return StrToIntW(text.c_str());
}

}  // namespace

bool IsValidTrackingPair(int tid1, int tid2) {
    return tid1 != 0 && tid2 != 0 && tid1 <= 500000 && tid2 <= 500000;
}

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

std::wstring GetSilentInstallDir(const std::wstring& commandLine) {
    const size_t at = commandLine.find(L"d=");
    if (at == std::wstring::npos || at == 0) return L"";
    std::wstring value = commandLine.substr(at + 2);
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

void WriteUserDataIni(const std::wstring& installDir) {
    const std::wstring path = installDir + L"\\lw_user_data.ini";
    const wchar_t* file = path.c_str();
    wchar_t tid1[260] = {};
    wchar_t tid2[260] = {};
    const DWORD have1 = GetPrivateProfileStringW(L"General", L"Tid1", nullptr, tid1, 260, file);
    const DWORD have2 = GetPrivateProfileStringW(L"General", L"Tid2", nullptr, tid2, 260, file);
    // The ids of the first installation into this directory are kept.
    if (have1 == 0 || have2 == 0) {
        WritePrivateProfileStringW(L"General", L"Tid1", EncodeIniValue(IntToString(Tid1)).c_str(), file);
        WritePrivateProfileStringW(L"General", L"Tid2", EncodeIniValue(IntToString(Tid2)).c_str(), file);
    }
    WritePrivateProfileStringW(L"General", L"TryNo", EncodeIniValue(IntToString(TryNo)).c_str(), file);
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, file);
}

std::wstring EncodeIniValue(const std::wstring& text) {
    const std::string utf8 = WideToUtf8(text);
    static const wchar_t kHex[] = L"0123456789abcdef";
    std::wstring encoded;
    encoded.reserve(utf8.size() * 2 + kIniMarkerLength);
    for (unsigned char byte : utf8) {
        byte ^= kIniKey;
        encoded += kHex[byte >> 4];
        encoded += kHex[byte & 0x0F];
    }
    return encoded + kIniMarker;
}

std::wstring DecodeIniValue(const std::wstring& text) {
    if (text.size() < kIniMarkerLength ||
        text.compare(text.size() - kIniMarkerLength, kIniMarkerLength, kIniMarker) != 0) {
        return text;
    }
    const size_t hexLength = text.size() - kIniMarkerLength;
    std::string bytes;
    bytes.reserve(hexLength / 2 + 1);
    for (size_t i = 0; i < hexLength; i += 2) {
        // Each group is parsed on its own copy, so a malformed group never reads beyond it.
        wchar_t group[3] = {text[i], i + 1 < hexLength ? text[i + 1] : L'\0', L'\0'};
        const long value = wcstol(group, nullptr, 16);
        bytes += static_cast<char>(static_cast<unsigned char>(value & 0xFF) ^ kIniKey);
    }
    return Utf8ToWide(bytes.c_str());
}
