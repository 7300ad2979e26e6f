#include "install/install_pipeline.h"

#include <cwchar>
#include <ctime>

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

// Downloads the package into the installation directory; false with errorText set and the
// failure reported.
bool DownloadPackage(InstallJob& job, const std::wstring& url) {
    job.packagePath = JoinPath(job.installDir, Download_Zip);
    const std::string narrowUrl = WideToAnsi(TimestampedUrl(url));
    const std::string narrowPath = WideToAnsi(job.packagePath);
    Post(job, WM_SETUP_DOWNLOADING);
    std::wstring message;
    if (job.Download(narrowUrl, narrowPath, &message)) return true;
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
    const UniqueHandle thread(CreateThread(nullptr, 0, ExtractThreadProc, &job, 0, nullptr));
    if (!thread) return;
    while (WaitForSingleObject(thread.get(), kProgressSliceMs) == WAIT_TIMEOUT) {
        job.extractPercent = job.extractor.GetProgress();
    }
    // The extractor tells nothing once it is done: a package unpacked within the first
    // slice would otherwise stay at 0% on the page.
    if (job.extractOk) job.extractPercent = 100;
}

// Links, Uninstall entry, uninstaller copy, shell extension, default viewer, package data.
void Register(InstallJob& job) {
    const std::wstring appExe = JoinPath(job.installDir, Start_App);
    const std::wstring uninstallExe = JoinPath(job.installDir, Uninst_App);
    const std::wstring desktopLink = CreateDesktopShortcut(appExe, App_Desktop_Link);
    const std::wstring appMenuLink = CreateStartMenuShortcut(appExe, App_Desktop_Link, App_Desktop_Link);
    CreateStartMenuShortcut(uninstallExe, App_Desktop_Link, UnInstall_Link);

    if (!desktopLink.empty()) job.fileList.push_back(desktopLink);
    if (!appMenuLink.empty()) {
        job.fileList.push_back(appMenuLink);
        const size_t slash = appMenuLink.rfind(L'\\');
        if (slash != std::wstring::npos && slash > 0) job.fileList.push_back(appMenuLink.substr(0, slash));
    }

    if (CreateUninstallKey(REG_KEY)) {
        SetDisplayIcon(appExe);
        SetUninstallString(uninstallExe);
        SetUninstallValue(L"Publisher", Company_Name);
        SetUninstallValue(L"DisplayName", App_Name);
        SetDisplayVersion(appExe);
    }
    // An uninstaller already there (from the package, or an earlier installation) stays.
    if (GetFileAttributesW(uninstallExe.c_str()) == INVALID_FILE_ATTRIBUTES) {
        CopyFileW(GetModulePath().c_str(), uninstallExe.c_str(), TRUE);
    }
    RegisterShellExtension(job.installDir);
    if (job.setAsDefault) SetDefaultViewer(job.installDir);
    MergeIniFile(JoinPath(job.installDir, Lw_Data), JoinPath(job.installDir, Lw_User_Data));
}

}  // namespace

std::wstring TimestampedUrl(const std::wstring& url) {
    wchar_t seconds[16] = {};
    std::swprintf(seconds, 16, L"%d", static_cast<int>(std::time(nullptr)));
    return url + L"?t=" + seconds;
}

DWORD WINAPI InstallThreadProc(LPVOID param) {
    InstallJob& job = *static_cast<InstallJob*>(param);
    const std::wstring& url = IsWow64() ? APP_URL_64 : APP_URL_32;
    const DWORD start = GetTickCount();
    ReportNewInstall(3, 1, 0, L"");

    const void* payload = nullptr;
    UINT32 payloadSize = 0;
    if (FindPayload(nullptr, &payload, &payloadSize) || DownloadPackage(job, url)) Extract(job);
    if (!job.packagePath.empty()) DeleteFileW(job.packagePath.c_str());

    if (job.extractOk) Register(job);
    const std::wstring appDataIni = JoinPath(job.installDir, App_Data_Ini);
    WriteTmpFileSection(appDataIni);
    WriteFileList(appDataIni, job.fileList);

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
