#include "report/report_tasks.h"

#include <windows.h>

#include <cwchar>

#include "base/probes.h"
#include "base/string_util.h"
#include "config/tracking_ids.h"
#include "config/ui_data.h"
#include "config/user_data_ini.h"
#include "report/machine_id.h"
#include "report/record_schemas.h"

namespace {

// Kept for the rest of the process once read; only the task thread touches them.
std::wstring cachedVipType;
std::wstring cachedOpenId;

// Creates a report with the public values every installer report carries.
kReportObject* NewReport(CLwInfocWrapper& front, const wchar_t* schema) {
    std::wstring id;
    GetMachineId(&id);
    kReportObject* report = nullptr;
    if (!front.CreateReportObject(&report) || !report) return nullptr;
    report->SetSchema(schema);
    report->SetPublic(id, App_Version, Tid1, Tid2, TryNo);
    return report;
}

void SendAndDestroy(CLwInfocWrapper& front, kReportObject* report) {
    front.SendNow(report);
    front.DestroyReportObject(report);
}

}  // namespace

void ReadUserInfo(const std::wstring& exeDir, std::wstring* vipType, std::wstring* openId) {
    const std::wstring path = JoinPath(exeDir, L"lw_user_data.ini");
    wchar_t vip[32] = {};
    wchar_t open[64] = {};
    GetPrivateProfileStringW(L"General", L"VipType", L"0", vip, 32, path.c_str());
    GetPrivateProfileStringW(L"General", L"OpenID", L"0", open, 64, path.c_str());
    *vipType = DecodeIniValue(vip);
    *openId = DecodeIniValue(open);
}

void CLwInfocWrapper::ReportNewInstallTask::Run() {
    CLwInfocWrapper& front = CLwInfocWrapper::GetInstance();
    kReportObject* report = NewReport(front, kInstallSchema);
    if (!report) return;
    report->AddInt(L"step", step_);
    report->AddInt(L"err_code", errCode_);
    report->AddInt(L"sub_err_code", subErrCode_);
    report->AddString(L"err_msg", errMsg_);
    SendAndDestroy(front, report);
}

void CLwInfocWrapper::ReportUninstallTask::Run() {
    if (cachedVipType.empty() || cachedOpenId.empty()) {
        ReadUserInfo(GetModuleDir(), &cachedVipType, &cachedOpenId);
    }
    CLwInfocWrapper& front = CLwInfocWrapper::GetInstance();
    kReportObject* report = NewReport(front, kUninstallSchema);
    if (!report) return;
    report->AddString(L"user_info", cachedOpenId);
    report->AddInt(L"vip_level", static_cast<int>(std::wcstol(cachedVipType.c_str(), nullptr, 10)));
    report->AddInt(L"reason", reason_);
    report->AddInt(L"result", result_);
    SendAndDestroy(front, report);
}
