#include "report/ansi_text.h"

#include <windows.h>

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
