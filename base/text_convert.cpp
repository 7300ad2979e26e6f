#include "base/text_convert.h"

#include <windows.h>

std::wstring Utf8ToWide(const char* text) {
    if (!text) return L"";
    const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, -1, nullptr, 0);
    if (length <= 0) return L"";
    std::wstring wide(static_cast<size_t>(length), L'\0');
    if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, -1, &wide[0], length) <= 0) {
        return L"";
    }
    wide.resize(static_cast<size_t>(length - 1));
    return wide;
}

std::string WideToUtf8(const std::wstring& text) {
    if (text.empty()) return "";
    const int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(length > 0 ? length : 0), '\0');
    if (length > 0) {
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &utf8[0],
                            length, nullptr, nullptr);
    }
    return utf8;
}

std::wstring AnsiToWide(const std::string& text) {
    if (text.empty()) return L"";
    const int length = static_cast<int>(text.size());
    const int size = MultiByteToWideChar(CP_THREAD_ACP, 0, text.data(), length, nullptr, 0);
    if (size <= 0) return L"";
    std::wstring wide(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_THREAD_ACP, 0, text.data(), length, &wide[0], size);
    return wide;
}

std::string WideToAnsi(const std::wstring& text) {
    if (text.empty()) return "";
    const int length = static_cast<int>(text.size());
    const int size =
        WideCharToMultiByte(CP_THREAD_ACP, 0, text.c_str(), length, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return "";
    std::string ansi(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_THREAD_ACP, 0, text.c_str(), length, &ansi[0], size, nullptr, nullptr);
    return ansi;
}
