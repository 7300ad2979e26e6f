#include "config/user_data_ini.h"

#include <windows.h>

#include <cwchar>

#include "base/string_util.h"
#include "base/text_convert.h"
#include "config/tracking_ids.h"
#include "config/ui_data.h"

namespace {

constexpr unsigned char kIniKey = 0x3A;
const wchar_t kIniMarker[] = L"EDSTRING";
constexpr size_t kIniMarkerLength = 8;

}  // namespace

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
