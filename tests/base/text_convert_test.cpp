#include "base/text_convert.h"

#include <gtest/gtest.h>

TEST(Utf8ToWide, RejectsInvalidText) {
    const struct { const char* utf8; const wchar_t* wide; } cases[] = {
        {"", L""},
        {"abc", L"abc"},
        {"\xE5\xB2\x9A\xE6\x96\x87", L"岚文"},
        {"\xF0\x9F\x98\x80", L"\U0001F600"},
        {"ok \xC3\x28", L""},          // broken sequence
        {"\xE5\xB2", L""},             // cut short
        {"\xC0\xAF", L""},             // overlong encoding
        {"\xED\xA0\x80", L""},         // a UTF-16 surrogate
    };
    for (const auto& c : cases) EXPECT_EQ(Utf8ToWide(c.utf8), c.wide) << c.utf8;
    EXPECT_EQ(Utf8ToWide(nullptr), L"");
    EXPECT_EQ(WideToUtf8(L"岚文 \U0001F600"), "\xE5\xB2\x9A\xE6\x96\x87 \xF0\x9F\x98\x80");
}
