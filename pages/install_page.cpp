#include "pages/install_page.h"

#include "base/probes.h"
#include "base/string_util.h"
#include "config/ui_data.h"
#include "report/report_front.h"

std::wstring DefaultInstallDir() { return GetLocalAppDataDir() + L"\\" + Install_Dir; }

CInstall::CInstall() {
    ReportNewInstall(1, 1, 0, L"");
    installDir = DefaultInstallDir();
}

void CInstall::SetInstallDir(const std::wstring& dir) {
    installDir = dir.empty() ? DefaultInstallDir() : dir;
    cancelled = false;
}
