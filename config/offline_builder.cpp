#include "config/offline_builder.h"

#include <windows.h>
#include <objbase.h>
#include <shlwapi.h>

#include "base/file_util.h"
#include "base/probes.h"
#include "base/string_util.h"

const wchar_t kPayloadType[] = L"BTE";

namespace {

const wchar_t* const kPackageSuffixes[] = {L"32.7z", L"64.7z", L"all.7z"};
const wchar_t kUidataSuffix[] = L"uidata.xml";
constexpr int kUidataId = 141;
constexpr WORD kUidataLanguage = 2052;
constexpr int kWriteAttempts = 5;

bool IsPackage(const std::wstring& path) {
    for (const wchar_t* suffix : kPackageSuffixes) {
        if (EndsWithNoCase(path, suffix)) return true;
    }
    return false;
}

// One attempt: a failed update is discarded, never committed, so the next attempt starts
// from the file as the last successful write left it.
bool WriteResourceOnce(const std::wstring& output, const std::wstring& file, LPCWSTR type,
                       int id, WORD language) {
    DWORD size = 0;
    const std::unique_ptr<char[]> bytes = ReadWholeFile(file, &size);
    if (!bytes) return false;
    HANDLE update = BeginUpdateResourceW(output.c_str(), FALSE);
    if (!update) return false;
    if (!UpdateResourceW(update, type, MAKEINTRESOURCEW(id), language, bytes.get(), size)) {
        EndUpdateResourceW(update, TRUE);
        return false;
    }
    return EndUpdateResourceW(update, FALSE) != FALSE;
}

void WriteResource(const std::wstring& output, const std::wstring& file, LPCWSTR type, int id,
                   WORD language) {
    for (int attempt = 0; attempt < kWriteAttempts; ++attempt) {
        if (WriteResourceOnce(output, file, type, id, language)) return;
    }
}

}  // namespace

std::vector<std::wstring> ParsePackerArguments(const std::wstring& commandLine) {
    std::vector<std::wstring> files;
    size_t position = 0;
    for (;;) {
        const size_t open = commandLine.find(L'"', position);
        if (open == std::wstring::npos || open == 0) break;
        const size_t close = commandLine.find(L'"', open + 1);
        if (close == std::wstring::npos) break;
        std::wstring argument = commandLine.substr(open + 1, close - open - 1);
        position = close + 1;
        if (argument.empty() || !PathFileExistsW(argument.c_str()) ||
            !(IsPackage(argument) || EndsWithNoCase(argument, kUidataSuffix))) {
            break;
        }
        files.push_back(std::move(argument));
    }
    return files;
}

void BuildOfflineInstaller(const std::wstring& commandLine) {
    const std::vector<std::wstring> files = ParsePackerArguments(commandLine);
    if (files.empty()) return;
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) return;
    const std::wstring output = JoinPath(GetModuleDir(), L"offline_setup.exe");
    DeleteFileW(output.c_str());
    if (CopyFileW(GetModulePath().c_str(), output.c_str(), TRUE)) {
        for (const std::wstring& file : files) {
            if (IsPackage(file)) {
                WriteResource(output, file, kPayloadType, kPayloadId, LANG_NEUTRAL);
            } else {
                WriteResource(output, file, L"XML", kUidataId, kUidataLanguage);
            }
        }
    }
    CoUninitialize();
}
