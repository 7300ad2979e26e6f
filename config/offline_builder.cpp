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
// from the file as the last successful write left it. An empty text after success, else why
// it failed.
std::wstring WriteResourceOnce(const std::wstring& output, const std::wstring& file,
                               LPCWSTR type, int id, WORD language) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &data)) {
        return L"it cannot be read (error " + std::to_wstring(GetLastError()) + L")";
    }
    if (data.nFileSizeHigh != 0 || data.nFileSizeLow > kMaxWholeFileSize) {
        return L"it is larger than " + std::to_wstring(kMaxWholeFileSize) + L" bytes";
    }
    DWORD size = 0;
    const std::unique_ptr<char[]> bytes = ReadWholeFile(file, &size);
    if (!bytes) {
        return L"it is empty or cannot be read (error " + std::to_wstring(GetLastError()) + L")";
    }
    HANDLE update = BeginUpdateResourceW(output.c_str(), FALSE);
    if (!update) {
        return L"the installer copy cannot be updated (error " +
               std::to_wstring(GetLastError()) + L")";
    }
    if (!UpdateResourceW(update, type, MAKEINTRESOURCEW(id), language, bytes.get(), size)) {
        const DWORD error = GetLastError();
        EndUpdateResourceW(update, TRUE);
        return L"the resource cannot be written (error " + std::to_wstring(error) + L")";
    }
    if (!EndUpdateResourceW(update, FALSE)) {
        return L"the installer copy cannot be written (error " +
               std::to_wstring(GetLastError()) + L")";
    }
    return L"";
}

// Up to five attempts; the reason of the last failure, empty after success.
std::wstring WriteResource(const std::wstring& output, const std::wstring& file, LPCWSTR type,
                           int id, WORD language) {
    std::wstring failure;
    for (int attempt = 0; attempt < kWriteAttempts; ++attempt) {
        failure = WriteResourceOnce(output, file, type, id, language);
        if (failure.empty()) break;
    }
    return failure;
}

}  // namespace

std::vector<std::wstring> ParsePackerArguments(const std::wstring& commandLine,
                                               std::wstring* stop) {
    std::vector<std::wstring> files;
    size_t position = 0;
    for (;;) {
        const size_t open = commandLine.find(L'"', position);
        if (open == std::wstring::npos || open == 0) break;
        const size_t close = commandLine.find(L'"', open + 1);
        if (close == std::wstring::npos) break;
        std::wstring argument = commandLine.substr(open + 1, close - open - 1);
        position = close + 1;
        const wchar_t* why = nullptr;
        if (argument.empty()) {
            why = L"an empty argument";
        } else if (!PathFileExistsW(argument.c_str())) {
            why = L"no such file";
        } else if (!IsPackage(argument) && !EndsWithNoCase(argument, kUidataSuffix)) {
            why = L"not named like a package (…32.7z, …64.7z, …all.7z) or a uidata document "
                  L"(…uidata.xml)";
        }
        if (why) {
            if (stop) {
                *stop = L"skipped \"" + argument + L"\": " + why +
                        L"; the arguments after it are not read";
            }
            break;
        }
        files.push_back(std::move(argument));
    }
    return files;
}

PackerReport BuildOfflineInstaller(const std::wstring& commandLine) {
    PackerReport report;
    std::wstring stop;
    const std::vector<std::wstring> files = ParsePackerArguments(commandLine, &stop);
    if (files.empty()) {
        if (!stop.empty()) report.lines.push_back(stop);
        report.lines.push_back(L"nothing to pack: no offline installer was made");
        return report;
    }
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {
        report.ok = false;
        report.lines.push_back(L"COM cannot be started: no offline installer was made");
        return report;
    }
    const std::wstring output = JoinPath(GetModuleDir(), L"offline_setup.exe");
    DeleteFileW(output.c_str());
    if (!CopyFileW(GetModulePath().c_str(), output.c_str(), TRUE)) {
        report.ok = false;
        report.lines.push_back(L"the installer cannot be copied to \"" + output + L"\" (error " +
                               std::to_wstring(GetLastError()) + L")");
    }
    for (size_t i = 0; report.ok && i < files.size(); ++i) {
        const std::wstring& file = files[i];
        const bool package = IsPackage(file);
        const std::wstring failure =
            package ? WriteResource(output, file, kPayloadType, kPayloadId, LANG_NEUTRAL)
                    : WriteResource(output, file, L"XML", kUidataId, kUidataLanguage);
        if (failure.empty()) {
            report.lines.push_back(L"packed \"" + file + L"\" as the " +
                                   (package ? L"package" : L"uidata document"));
        } else {
            // An installer without the file it was asked to carry would quietly behave
            // otherwise (download instead, or show other texts): none is better.
            report.ok = false;
            report.lines.push_back(L"could not pack \"" + file + L"\": " + failure);
            DeleteFileW(output.c_str());
        }
    }
    if (!stop.empty()) report.lines.push_back(stop);
    report.lines.push_back(report.ok ? L"offline installer: " + output
                                     : L"no offline installer was made");
    CoUninitialize();
    return report;
}
