// The schemas of the two records the installer sends.
#pragma once

constexpr wchar_t kInstallSchema[] =
    L"pic_install_new:8201 step:byte err_code:byte sub_err_code:int err_msg:string";
constexpr wchar_t kUninstallSchema[] =
    L"pic_uninstall:8203 user_info:string vip_level:byte reason:byte result:byte";

constexpr int kInstallSchemaId = 8201;
constexpr int kUninstallSchemaId = 8203;

// Every report of the installer has this type (public block id and header byte 0x52).
constexpr int kInstallerReportType = 3;
