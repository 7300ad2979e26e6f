// The two reports of the installer, built and sent on the front's task thread.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "report/report_front.h"

class CLwInfocWrapper::ReportNewInstallTask : public CLwInfocWrapper::TaskBase {
public:
    ReportNewInstallTask(uint8_t step, uint8_t err_code, int sub_err_code, std::wstring err_msg)
        : step_(step), errCode_(err_code), subErrCode_(sub_err_code), errMsg_(std::move(err_msg)) {}
    void Run() override;

private:
    uint8_t step_;
    uint8_t errCode_;
    int subErrCode_;
    std::wstring errMsg_;
};

class CLwInfocWrapper::ReportUninstallTask : public CLwInfocWrapper::TaskBase {
public:
    ReportUninstallTask(uint8_t reason, uint8_t result) : reason_(reason), result_(result) {}
    void Run() override;

private:
    uint8_t reason_;
    uint8_t result_;
};

// The user's membership level and account from lw_user_data.ini beside `exeDir`, decoded;
// "0" for what is missing.
void ReadUserInfo(const std::wstring& exeDir, std::wstring* vipType, std::wstring* openId);
