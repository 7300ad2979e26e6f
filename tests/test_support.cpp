#include "test_support.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>

std::wstring FixturePath(const std::wstring& name) {
    const std::string unixDir = LW_FIXTURE_DIR;
    std::wstring path = L"Z:" + std::wstring(unixDir.begin(), unixDir.end()) + L"/" + name;
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
}

TempDir::TempDir() {
    wchar_t base[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, base);
    for (unsigned n = GetTickCount() ^ GetCurrentProcessId();; ++n) {
        path_ = std::wstring(base) + L"lwtest-" + std::to_wstring(n);
        if (CreateDirectoryW(path_.c_str(), nullptr)) break;
    }
}

TempDir::~TempDir() {
    std::wstring from = path_ + L'\0';  // the shell wants a double-terminated list
    SHFILEOPSTRUCTW op = {};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NO_UI;
    SHFileOperationW(&op);
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}
