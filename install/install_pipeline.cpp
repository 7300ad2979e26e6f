#include "install/install_pipeline.h"

#include <cwchar>
#include <ctime>

#include "base/diagnostics.h"
#include "base/digest.h"
#include "base/file_util.h"
#include "base/probes.h"
#include "base/string_util.h"
#include "base/text_convert.h"
#include "config/resources.h"
#include "config/ui_data.h"
#include "install/file_list.h"
#include "install/ini_merge.h"
#include "install/running_app.h"
#include "install/shell_extension.h"
#include "install/shortcuts.h"
#include "install/uninstall_entry.h"
#include "report/report_front.h"

namespace {

constexpr DWORD kPauseBeforeExtractionMs = 1000;
constexpr DWORD kProgressSliceMs = 50;
constexpr DWORD kMinimumInstallMs = 2000;

void Post(const InstallJob& job, UINT message) {
    if (job.progressWindow) PostMessageW(job.progressWindow, message, 0, 0);
}

// Logs how a step of the pipeline ended and how long it took since `start` (GetTickCount).
void LogStep(const wchar_t* step, bool ok, DWORD start, const std::wstring& detail) {
    DebugPrint(L"step %ls: %ls after %u ms%ls%ls", step, ok ? L"done" : L"FAILED",
               static_cast<unsigned>(GetTickCount() - start), detail.empty() ? L"" : L": ",
               detail.c_str());
}

// Downloads the package into the installation directory and checks its digest when one is
// configured for the URL; false with errorText set and the failure reported.
bool DownloadPackage(InstallJob& job, const std::wstring& url, const std::wstring& sha256) {
    job.packagePath = JoinPath(job.installDir, Download_Zip);
    const std::string narrowUrl = WideToAnsi(TimestampedUrl(url));
    const std::string narrowPath = WideToAnsi(job.packagePath);
    Post(job, WM_SETUP_DOWNLOADING);
    std::wstring message;
    const DWORD start = GetTickCount();
    const bool downloaded = job.Download(narrowUrl, narrowPath, &message);
    LogStep(L"download", downloaded, start,
            AnsiToWide(narrowUrl) + L" to " + job.packagePath + (downloaded ? L"" : L", " + message));
    if (downloaded && !sha256.empty()) {
        const std::wstring actual = AnsiToWide(Sha256FileHex(job.packagePath));
        if (!EqualsNoCase(actual, sha256)) message = L"package digest mismatch";
        LogStep(L"package digest", message.empty(), start,
                L"SHA-256 " + (actual.empty() ? L"unreadable" : actual) + L", expected " + sha256);
        if (message.empty()) return true;
    } else if (downloaded) {
        return true;
    }
    job.errorText = Download_Install_Package_Fail_Text;
    ReportNewInstall(4, 3, 0, message);
    return false;
}

// Runs the extraction thread, sampling its progress every slice until it ends.
void Extract(InstallJob& job) {
    ReportNewInstall(4, 1, 0, L"");
    job.extracting = 1;
    Sleep(kPauseBeforeExtractionMs);
    job.downloading = 0;
    const DWORD start = GetTickCount();
    const UniqueHandle thread(CreateThread(nullptr, 0, ExtractThreadProc, &job, 0, nullptr));
    if (!thread) {
        LogStep(L"extraction", false, start, L"no thread, error " + std::to_wstring(GetLastError()));
        return;
    }
    while (WaitForSingleObject(thread.get(), kProgressSliceMs) == WAIT_TIMEOUT) {
        job.extractPercent = job.extractor.GetProgress();
    }
    // The extractor tells nothing once it is done: a package unpacked within the first
    // slice would otherwise stay at 0% on the page.
    if (job.extractOk) job.extractPercent = 100;
    for (const std::wstring& path : job.fileList) DebugPrint(L"created %ls", path.c_str());
    LogStep(L"extraction", job.extractOk, start,
            std::to_wstring(job.fileList.size()) + L" items" +
                (job.extractOk ? L"" : L", " + job.errorText + L", " + job.extractor.lastError));
}

// What deployment tools and the system's list of installed programs read beside the
// entry's first values.
void WriteDeploymentValues(const std::wstring& installDir, const std::wstring& uninstallExe) {
    SYSTEMTIME today = {};
    GetLocalTime(&today);
    wchar_t date[16] = {};
    std::swprintf(date, 16, L"%04u%02u%02u", today.wYear, today.wMonth, today.wDay);
    SetUninstallValue(L"InstallLocation", NormalizeRegistryPath(installDir));
    SetUninstallValue(L"InstallDate", date);
    SetUninstallDword(L"NoModify", 1);
    SetUninstallDword(L"NoRepair", 1);
    SetUninstallValue(L"QuietUninstallString",
                      L"\"" + NormalizeRegistryPath(uninstallExe) + L"\" /s");
}

// The uninstaller copy: one already there (from the package, or an earlier installation)
// stays. False when there is no uninstaller file afterwards.
bool WriteUninstaller(const std::wstring& uninstallExe) {
    DWORD attributes = GetFileAttributesW(uninstallExe.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES &&
        CopyFileW(GetModulePath().c_str(), uninstallExe.c_str(), TRUE)) {
        DebugPrint(L"created %ls", uninstallExe.c_str());
        attributes = GetFileAttributesW(uninstallExe.c_str());
    }
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return true;
    }
    DebugPrint(L"[%d] the uninstaller cannot be written: %ls", static_cast<int>(GetLastError()),
               uninstallExe.c_str());
    return false;
}

// The Uninstall entry; false, and no entry left, when its key or its UninstallString cannot
// be written.
bool WriteUninstallEntry(const std::wstring& installDir, const std::wstring& appExe,
                         const std::wstring& uninstallExe) {
    if (!CreateUninstallKey(REG_KEY) || !SetUninstallString(uninstallExe)) {
        DebugPrint(L"[%d] the Uninstall entry cannot be written: %ls",
                   static_cast<int>(GetLastError()), REG_KEY.c_str());
        DeleteUninstallKey(REG_KEY);
        return false;
    }
    SetDisplayIcon(appExe);
    SetUninstallValue(L"Publisher", Company_Name);
    SetUninstallValue(L"DisplayName", App_Name);
    SetDisplayVersion(appExe);
    WriteDeploymentValues(installDir, uninstallExe);
    return true;
}

// Uninstaller copy, Uninstall entry, links, shell extension, default viewer, package data.
// What makes the installation removable comes first: when the uninstaller or the entry
// cannot be written, nothing is registered and the result is false.
bool Register(InstallJob& job) {
    const std::wstring appExe = JoinPath(job.installDir, Start_App);
    const std::wstring uninstallExe = JoinPath(job.installDir, Uninst_App);
    if (!WriteUninstaller(uninstallExe) ||
        !WriteUninstallEntry(job.installDir, appExe, uninstallExe)) {
        return false;
    }

    const std::wstring desktopLink = CreateDesktopShortcut(appExe, App_Desktop_Link);
    const std::wstring appMenuLink = CreateStartMenuShortcut(appExe, App_Desktop_Link, App_Desktop_Link);
    CreateStartMenuShortcut(uninstallExe, App_Desktop_Link, UnInstall_Link);
    for (const std::wstring& link : {desktopLink, appMenuLink}) {
        if (!link.empty()) DebugPrint(L"created link %ls", link.c_str());
    }
    if (!desktopLink.empty()) job.fileList.push_back(desktopLink);
    if (!appMenuLink.empty()) {
        job.fileList.push_back(appMenuLink);
        const size_t slash = appMenuLink.rfind(L'\\');
        if (slash != std::wstring::npos && slash > 0) job.fileList.push_back(appMenuLink.substr(0, slash));
    }

    RegisterShellExtension(job.installDir);
    if (job.setAsDefault) SetDefaultViewer(job.installDir);
    MergeIniFile(JoinPath(job.installDir, Lw_Data), JoinPath(job.installDir, Lw_User_Data));
    return true;
}

}  // namespace

std::wstring TimestampedUrl(const std::wstring& url) {
    wchar_t seconds[16] = {};
    std::swprintf(seconds, 16, L"%d", static_cast<int>(std::time(nullptr)));
    return url + L"?t=" + seconds;
}

DWORD WINAPI InstallThreadProc(LPVOID param) {
    InstallJob& job = *static_cast<InstallJob*>(param);
    const bool wow64 = IsWow64();
    const std::wstring& url = wow64 ? APP_URL_64 : APP_URL_32;
    const std::wstring& sha256 = wow64 ? APP_SHA256_64 : APP_SHA256_32;
    const DWORD start = GetTickCount();
    DebugPrint(L"installing into %ls", job.installDir.c_str());
    ReportNewInstall(3, 1, 0, L"");

    const void* payload = nullptr;
    UINT32 payloadSize = 0;
    const bool embedded = FindPayload(nullptr, &payload, &payloadSize);
    if (embedded) DebugPrint(L"the package is embedded: %u bytes", payloadSize);
    if (embedded || DownloadPackage(job, url, sha256)) Extract(job);
    if (!job.packagePath.empty()) DeleteFileW(job.packagePath.c_str());

    if (job.extractOk) {
        const DWORD registration = GetTickCount();
        const bool registered = Register(job);
        LogStep(L"registration", registered, registration,
                registered ? L"" : L"the installation could not be made removable");
        if (!registered) {
            // A failed run, reported and shown as one: the files stay listed for a later
            // installation over them.
            job.extractOk = 0;
            job.errorText = Install_Error;
        }
    }
    const std::wstring appDataIni = JoinPath(job.installDir, App_Data_Ini);
    WriteTmpFileSection(appDataIni);
    WriteFileList(appDataIni, job.fileList);
    DebugPrint(L"listed %u paths in %ls", static_cast<unsigned>(job.fileList.size()),
               appDataIni.c_str());
    // Measured last, when every file of the installation is in place.
    if (job.extractOk) SetUninstallDword(L"EstimatedSize", DirectorySizeKb(job.installDir));

    // The page stays up long enough to be read.
    while (GetTickCount() - start < kMinimumInstallMs) Sleep(100);
    job.finished.store(1, std::memory_order_release);
    return 1;
}

DWORD WINAPI ExtractThreadProc(LPVOID param) {
    InstallJob& job = *static_cast<InstallJob*>(param);
    TerminateRunningApp();
    UnregisterShellExtension(job.installDir);
    Post(job, WM_SETUP_INSTALLING);
    ReportNewInstall(5, 1, 0, L"");

    const void* payload = nullptr;
    UINT32 payloadSize = 0;
    const int result =
        FindPayload(nullptr, &payload, &payloadSize)
            ? job.extractor.ExtractFromMemory(job.fileList, payload, payloadSize, job.installDir)
            : job.extractor.ExtractFromFile(job.fileList, job.packagePath, job.installDir);
    job.extractOk = result == 0 ? 1 : 0;
    if (result == 0) {
        ReportNewInstall(6, 1, 0, L"");
    } else {
        ReportNewInstall(6, 4, result, job.extractor.lastError);
        job.errorText = Unzip_Fail_Text_Code + std::to_wstring(result);
    }
    return 0;
}
