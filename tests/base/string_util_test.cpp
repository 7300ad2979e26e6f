#include "base/string_util.h"

#include <gtest/gtest.h>

#include <climits>

TEST(StringUtil, PrefixAndSuffixIgnoreCase) {
    const struct { const wchar_t* s; const wchar_t* affix; bool starts; bool ends; } cases[] = {
        {L"/TID1:7", L"/tid1:", true, false},
        {L"C:\\X\\UNINSTALL.EXE", L"\\uninstall.exe", false, true},
        {L"abc", L"", true, true},           // an empty affix matches every string
        {L"", L"", true, true},
        {L"ab", L"abc", false, false},       // shorter than the affix
        {L"abc", L"abc", true, true},
        {L"岚文看图", L"岚文", true, false},
        {L"Ab", L"b", false, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StartsWithNoCase(c.s, c.affix), c.starts) << c.s << L" / " << c.affix;
        EXPECT_EQ(EndsWithNoCase(c.s, c.affix), c.ends) << c.s << L" / " << c.affix;
    }
}

TEST(StringUtil, JoinPathPutsExactlyOneSeparator) {
    const struct { const wchar_t* dir; const wchar_t* tail; const wchar_t* joined; } cases[] = {
        {L"", L"\\lwpic.exe", L"\\lwpic.exe"},
        {L"C:\\A", L"", L"C:\\A"},
        {L"C:\\A", L"\\lwpic.exe", L"C:\\A\\lwpic.exe"},
        {L"C:\\A\\", L"\\lwpic.exe", L"C:\\A\\lwpic.exe"},
        {L"C:\\A/", L"lwpic.exe", L"C:\\A/lwpic.exe"},
        {L"C:\\A", L"/x", L"C:\\A\\x"},
        {L"C:\\A", L"\\\\x", L"C:\\A\\\\x"},  // only one leading separator is dropped
    };
    for (const auto& c : cases) EXPECT_EQ(JoinPath(c.dir, c.tail), c.joined) << c.dir << L" + " << c.tail;
}

TEST(StringUtil, SplitDropsEmptyPieces) {
    using V = std::vector<std::wstring>;
    EXPECT_EQ(SplitString(L"  /tid1:3   /tid2:4 ", L" "), (V{L"/tid1:3", L"/tid2:4"}));
    EXPECT_EQ(SplitString(L"px__setup_2_2", L"_"), (V{L"px", L"setup", L"2", L"2"}));
    EXPECT_EQ(SplitString(L"", L"_"), V{});
    EXPECT_EQ(SplitString(L"___", L"_"), V{});
    EXPECT_EQ(SplitString(L"a::b", L"::"), (V{L"a", L"b"}));
}

TEST(StringUtil, IntToStringIsDecimal) {
    EXPECT_EQ(IntToString(0), L"0");
    EXPECT_EQ(IntToString(1020), L"1020");
    EXPECT_EQ(IntToString(-4), L"-4");
    EXPECT_EQ(IntToString(INT_MIN), L"-2147483648");
}
