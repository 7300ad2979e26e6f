#include "install/install_test_support.h"

#include <shlwapi.h>

#include <string>

#include "config/ui_data.h"
#include "install/uninstall_entry.h"
#include "test_support.h"

namespace {

void DeleteScratchKey(const std::wstring& name) {
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, (std::wstring(kUninstallKeyPath) + L"\\" + name).c_str());
}

}  // namespace

ScratchUninstallKey::ScratchUninstallKey()
    : name_(L"LwTest-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(GetTickCount())),
      savedRegKey_(REG_KEY) {
    DeleteScratchKey(name_);
    REG_KEY = name_;
}

ScratchUninstallKey::~ScratchUninstallKey() {
    DeleteScratchKey(name_);
    REG_KEY = savedRegKey_;
}

std::wstring ScratchUninstallKey::path() const {
    return std::wstring(kUninstallKeyPath) + L"\\" + name_;
}

bool CopyFixture(const std::wstring& fixture, const std::wstring& path) {
    return CopyFileW(FixturePath(fixture).c_str(), path.c_str(), FALSE) != FALSE;
}

HANDLE StartProgram(const std::wstring& exe, const std::wstring& arguments) {
    std::wstring commandLine = L"\"" + exe + L"\" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process)) {
        return nullptr;
    }
    CloseHandle(process.hThread);
    return process.hProcess;
}

bool WaitForFile(const std::wstring& path, DWORD ms) {
    for (DWORD waited = 0; !PathFileExistsW(path.c_str()) && waited < ms; waited += 50) Sleep(50);
    return PathFileExistsW(path.c_str()) != FALSE;
}

std::wstring ReadWideFile(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return L"";
    std::wstring text(GetFileSize(file, nullptr) / sizeof(wchar_t), L'\0');
    DWORD read = 0;
    if (!text.empty()) {
        ReadFile(file, &text[0], static_cast<DWORD>(text.size() * sizeof(wchar_t)), &read, nullptr);
    }
    CloseHandle(file);
    return text;
}
