#include "install/ini_merge.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "test_support.h"

TEST(IniMerge, ParsesSectionsKeysAndValues) {
    const struct {
        const char* name;
        std::string text;
        IniEntries expected;
    } cases[] = {
        {"blanks around key, value and line",
         "  [General]  \r\n  key  =  some value \t\r\n", {{{L"General", L"key"}, L"some value"}}},
        {"lines before the first section are dropped", "a=1\r\n[S]\r\nb=2\r\n", {{{L"S", L"b"}, L"2"}}},
        {"an empty key is dropped", "[S]\r\n=x\r\n  = y\r\nk=v\r\n", {{{L"S", L"k"}, L"v"}}},
        {"a value may contain '='", "[S]\r\nurl=http://h/?a=1&b=2\r\n",
         {{{L"S", L"url"}, L"http://h/?a=1&b=2"}}},
        {"comments, blank lines and lines without '='", "; c\r\n# c\r\n\r\n[S]\r\nnoequals\r\nk=v",
         {{{L"S", L"k"}, L"v"}}},
        {"a later pair replaces an earlier one", "[S]\nk=1\n[T]\nk=2\n[S]\nk=3\n",
         {{{L"S", L"k"}, L"3"}, {{L"T", L"k"}, L"2"}}},
        {"an empty value is kept", "[S]\r\nk=\r\n", {{{L"S", L"k"}, L""}}},
        {"each byte is one character", "[S]\r\nname=caf\xe9\r\n", {{{L"S", L"name"}, L"caf\u00e9"}}},
        {"nothing", "", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseIniText(c.text), c.expected) << c.name;
    }
}

TEST(IniMerge, WritesEveryPairIntoTheTargetAndKeepsItsOtherValues) {
    TempDir root;
    const std::wstring source = root / L"lw_data.ini";
    const std::wstring target = root / L"lw_user_data.ini";
    WriteFileBytes(source, "[Data]\r\nchannel = 7 \r\nnew=yes\r\n[Other]\r\nx=1\r\n");
    WritePrivateProfileStringW(L"Data", L"channel", L"old", target.c_str());
    WritePrivateProfileStringW(L"General", L"tid1", L"3", target.c_str());

    MergeIniFile(source, target);
    const auto read = [&](const wchar_t* section, const wchar_t* key) {
        wchar_t value[64] = {};
        GetPrivateProfileStringW(section, key, L"<none>", value, 64, target.c_str());
        return std::wstring(value);
    };
    EXPECT_EQ(read(L"Data", L"channel"), L"7");
    EXPECT_EQ(read(L"Data", L"new"), L"yes");
    EXPECT_EQ(read(L"Other", L"x"), L"1");
    EXPECT_EQ(read(L"General", L"tid1"), L"3");

    // A missing source changes nothing and creates nothing.
    const std::wstring untouched = root / L"untouched.ini";
    MergeIniFile(root / L"missing.ini", untouched);
    EXPECT_EQ(GetFileAttributesW(untouched.c_str()), INVALID_FILE_ATTRIBUTES);
}
