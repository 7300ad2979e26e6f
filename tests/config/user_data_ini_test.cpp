#include "config/user_data_ini.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "config/tracking_ids.h"
#include "config/ui_data.h"
#include "test_support.h"

TEST(IniValue, RoundTripsAnyText) {
    const wchar_t* texts[] = {L"", L"1020", L"-4", L"岚文看图 VIP", L"a:b=c;[x]", L"\U0001F600 emoji",
                              L"line\r\nbreak", L"EDSTRING"};
    for (const wchar_t* text : texts) {
        const std::wstring encoded = EncodeIniValue(text);
        EXPECT_EQ(encoded.substr(encoded.size() - 8), L"EDSTRING");
        EXPECT_EQ(encoded.find_first_not_of(L"0123456789abcdef"), encoded.size() - 8) << text;
        EXPECT_EQ(DecodeIniValue(encoded), text);
    }
    // "1" is 0x31, XOR 0x3A gives 0x0b.
    EXPECT_EQ(EncodeIniValue(L"1"), L"0bEDSTRING");
}

TEST(IniValue, DecodesPlainAndMalformedTextSafely) {
    const struct { const wchar_t* text; const wchar_t* decoded; } cases[] = {
        {L"plain", L"plain"},           // no marker: returned unchanged
        {L"EDSTRING", L""},
        {L"STRING", L"STRING"},         // shorter than the marker
        {L"0bedstring", L"0bedstring"}, // the marker is case-sensitive
        {L"0BEDSTRING", L"1"},          // hex digits in either case
        {L"0b0EDSTRING", L"1:"},        // a last single digit is a group of its own: 0 ^ 0x3A
        {L"zzEDSTRING", L":"},          // no digits gives 0
        {L"0b5EDSTRING", L"1?"},        // 0x05 ^ 0x3A
        {L"0bxgEDSTRING", L"1:"},       // a group with no hex digit reads as 0
    };
    for (const auto& c : cases) EXPECT_EQ(DecodeIniValue(c.text), c.decoded) << c.text;
    // Bytes that are not UTF-8 decode to nothing rather than to a part of the text.
    EXPECT_EQ(DecodeIniValue(L"c5EDSTRING"), L"");  // 0xFF alone
}

TEST(UserDataIni, KeepsTheFirstIdsAndRefreshesTryNo) {
    TempDir dir;
    const std::wstring ini = dir / L"lw_user_data.ini";
    auto read = [&](const wchar_t* key) {
        wchar_t value[260] = {};
        GetPrivateProfileStringW(L"General", key, L"", value, 260, ini.c_str());
        return DecodeIniValue(value);
    };
    Tid1 = 3; Tid2 = 1; TryNo = 1020;
    WriteUserDataIni(dir.path());
    EXPECT_EQ(read(L"Tid1"), L"3");
    EXPECT_EQ(read(L"Tid2"), L"1");
    EXPECT_EQ(read(L"TryNo"), L"1020");

    Tid1 = 7; Tid2 = 8; TryNo = 1033;
    WriteUserDataIni(dir.path());
    EXPECT_EQ(read(L"Tid1"), L"3");
    EXPECT_EQ(read(L"Tid2"), L"1");
    EXPECT_EQ(read(L"TryNo"), L"1033");

    // With one id missing both are written again.
    WritePrivateProfileStringW(L"General", L"Tid2", nullptr, ini.c_str());
    WriteUserDataIni(dir.path());
    EXPECT_EQ(read(L"Tid1"), L"7");
    EXPECT_EQ(read(L"Tid2"), L"8");
}
