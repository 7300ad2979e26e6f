#include "config/version_info.h"

#include <gtest/gtest.h>

#include "test_support.h"

TEST(PickTranslation, UserLanguageThenPrimaryByteThenNeutralThenEnglish) {
    const DWORD englishAndChinese[] = {MAKELONG(0x0409, 1200), MAKELONG(0x0804, 1200)};
    const DWORD germanNeutral[] = {MAKELONG(0x0407, 1252), MAKELONG(0x0000, 1200)};
    const DWORD french[] = {MAKELONG(0x040C, 1252), MAKELONG(0x080C, 1252)};
    const struct { const DWORD* table; UINT bytes; WORD user; DWORD picked; } cases[] = {
        {englishAndChinese, sizeof(englishAndChinese), 0x0804, englishAndChinese[1]},
        {englishAndChinese, sizeof(englishAndChinese), 0x1004, englishAndChinese[1]},  // same low byte
        {englishAndChinese, sizeof(englishAndChinese), 0x0411, englishAndChinese[0]},  // English
        {englishAndChinese, sizeof(englishAndChinese), 0x0809, englishAndChinese[0]},
        {germanNeutral, sizeof(germanNeutral), 0x0411, germanNeutral[1]},              // neutral
        {germanNeutral, sizeof(germanNeutral), 0x0807, germanNeutral[0]},
        {french, sizeof(french), 0x080C, french[1]},                                   // exact first
        {french, sizeof(french), 0x0411, french[0]},                                   // first entry
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PickTranslationFor(c.table, c.bytes, c.user), c.picked) << std::hex << c.user;
    }
}

// The tests run with a Chinese user, so the second of the two translations is read.
TEST(ReadFileVersion, ReadsTheUsersTranslationWithPoints) {
    EXPECT_EQ(ReadFileVersion(FixturePath(L"fx_version.exe")), L"2. 0. 0. 804");
    EXPECT_EQ(ReadFileVersion(FixturePath(L"fx_noversion.exe")), L"");
    EXPECT_EQ(ReadFileVersion(FixturePath(L"fx_notranslation.exe")), L"");
    EXPECT_EQ(ReadFileVersion(FixturePath(L"missing.exe")), L"");
}

TEST(CFileVersionInfo, ReadsAllStringsOfTheChosenTranslation) {
    CFileVersionInfo info;
    ASSERT_TRUE(info.Create(FixturePath(L"fx_version.exe")));
    EXPECT_EQ(info.CompanyName, L"中文公司");
    EXPECT_EQ(info.FileDescription, L"中文说明");
    EXPECT_EQ(info.FileVersion, L"2, 0, 0, 804");  // unchanged here
    EXPECT_EQ(info.InternalName, L"fx_version");
    EXPECT_EQ(info.LegalCopyright, L"中文版权");
    EXPECT_EQ(info.OriginalFileName, L"fx_version.exe");
    EXPECT_EQ(info.ProductName, L"中文产品");
    EXPECT_EQ(info.ProductVersion, L"2.0");
    EXPECT_EQ(info.Comments, L"中文注释");
    EXPECT_EQ(info.LegalTrademarks, L"中文商标");
    EXPECT_EQ(info.PrivateBuild, L"中文私有");
    EXPECT_EQ(info.SpecialBuild, L"中文特别");
    EXPECT_EQ(info.fixedInfo.dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(info.fixedInfo.dwFileVersionMS, MAKELONG(0, 1));

    // A failed read leaves nothing of the earlier one behind.
    EXPECT_FALSE(info.Create(FixturePath(L"fx_notranslation.exe")));
    EXPECT_EQ(info.CompanyName, L"");
    EXPECT_EQ(info.fixedInfo.dwSignature, 0u);
    EXPECT_FALSE(info.Create(FixturePath(L"fx_noversion.exe")));

    CFileVersionInfo own;
    ASSERT_TRUE(own.Create());
    EXPECT_EQ(own.FileVersion, L"3, 4, 5, 6");
}
