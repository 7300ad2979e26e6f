#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>

#include "config/user_data_ini.h"
#include "report/report_front.h"
#include "report/report_tasks.h"
#include "report/reporter.h"
#include "test_support.h"

TEST(Reporter, CreateInitAndPost) {
    IReporter* raw = nullptr;
    const GUID other = {0x9E75AA54, 0xA60E, 0x4CBA, {0x80, 0xE8, 0xC8, 0x53, 0x29, 0x2B, 0x20, 0xC5}};
    EXPECT_EQ(CreateReporter(other, &raw), E_NOTIMPL);
    EXPECT_EQ(raw, nullptr);
    ASSERT_EQ(CreateReporter(IID_IReporter, &raw), S_OK);
    const std::unique_ptr<IReporter> reporter(raw);

    kReportObject* report = nullptr;
    ASSERT_TRUE(reporter->CreateReportObject(&report));
    EXPECT_FALSE(reporter->Post(report));  // not initialised yet
    EXPECT_FALSE(reporter->SendNow(report));
    EXPECT_FALSE(reporter->Post(nullptr));
    reporter->DestroyReportObject(report);

    EXPECT_TRUE(reporter->Init(3, L"http://127.0.0.1:9/a"));
    EXPECT_FALSE(reporter->Init(2, L"http://127.0.0.1:9/b"));
    ASSERT_TRUE(reporter->CreateReportObject(&report));
    EXPECT_EQ(report->type, 3);  // the first Init's type stays
    reporter->Uninit();
    EXPECT_FALSE(reporter->Post(report));  // refused after Uninit
    EXPECT_TRUE(reporter->DestroyReportObject(report));
    EXPECT_FALSE(reporter->DestroyReportObject(nullptr));
    EXPECT_FALSE(reporter->CreateReportObject(nullptr));
}

TEST(Reporter, StopWithoutAnyReportReturns) {
    StopReporter();
    StopReporter();
}

TEST(Reporter, UserInfoFromTheIniFile) {
    TempDir dir;
    const std::wstring ini = dir / L"lw_user_data.ini";
    const struct {
        const wchar_t* vipType;  // null: no value written
        const wchar_t* openId;
        std::wstring expectedVip;
        std::wstring expectedOpenId;
    } cases[] = {
        {nullptr, nullptr, L"0", L"0"},
        {L"3", L"user42", L"3", L"user42"},
        {nullptr, L"u", L"0", L"u"},
    };
    for (const auto& c : cases) {
        DeleteFileW(ini.c_str());
        if (c.vipType) WritePrivateProfileStringW(L"General", L"VipType", c.vipType, ini.c_str());
        if (c.openId) WritePrivateProfileStringW(L"General", L"OpenID", c.openId, ini.c_str());
        WritePrivateProfileStringW(nullptr, nullptr, nullptr, ini.c_str());
        std::wstring vip, openId;
        ReadUserInfo(dir.path(), &vip, &openId);
        EXPECT_EQ(vip, c.expectedVip);
        EXPECT_EQ(openId, c.expectedOpenId);
    }
    // Scrambled values are decoded.
    WritePrivateProfileStringW(L"General", L"VipType", EncodeIniValue(L"-5").c_str(), ini.c_str());
    WritePrivateProfileStringW(L"General", L"OpenID", EncodeIniValue(L"开放").c_str(), ini.c_str());
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, ini.c_str());
    std::wstring vip, openId;
    ReadUserInfo(dir.path(), &vip, &openId);
    EXPECT_EQ(vip, L"-5");
    EXPECT_EQ(openId, L"开放");
}
