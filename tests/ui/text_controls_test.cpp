// Text measurement and the controls that size, shorten and wrap text.
#include <gtest/gtest.h>

#include "ui/lui_button.h"
#include "ui/lui_check_box.h"
#include "ui/lui_edit.h"
#include "ui/lui_multiline_text.h"
#include "ui/lui_text.h"
#include "ui/text_measure.h"
#include "ui_test_support.h"

namespace {

// Ten pixels per character, twelve high.
TextSize FixedWidth(const std::wstring& s) { return {static_cast<int>(s.size()) * 10, 12}; }

}  // namespace

TEST(LUIEditShortening, DropsMoreCharactersEachRound) {
    const struct { const wchar_t* text; int maxWidth; const wchar_t* shown; } cases[] = {
        {L"C:\\abc", 60, L"C:\\abc"},  // fits
        // Round 1 drops "C:\P": "...rogram Files\x" (170); round 2 drops 5: "...gram Files\x".
        {L"C:\\Program Files\\x", 150, L"...gram Files\\x"},
        // Round 3 drops 6 of the shortened text: "...m Files\x" (120).
        {L"C:\\Program Files\\x", 120, L"...m Files\\x"},
        {L"C:\\Program Files\\x", 80, L"...les\\x"},
        // Round 5 would drop all 8 characters: the rounds end at "...", which does not fit.
        {L"C:\\Program Files\\x", 60, L"..."},
        {L"C:\\Program Files\\x", 20, L"..."},
        {L"abcdef", 0, L"..."},
    };
    for (const auto& c : cases) {
        int height = 0;
        EXPECT_EQ(ShortenFromFront(c.text, c.maxWidth, FixedWidth, &height), c.shown)
            << c.maxWidth;
        EXPECT_EQ(height, 12);
    }
}

TEST(LUIMultilineWrapping, DropsBlankLinesAndSplitsWords) {
    const auto width = [](const std::wstring& s) { return static_cast<int>(s.size()) * 10; };
    const struct { const wchar_t* text; int available; std::vector<std::wstring> lines; } cases[] = {
        {L"one\r\n\r\ntwo", 200, {L"one", L"two"}},
        {L"\n\nonly\r\r", 200, {L"only"}},
        // With 10 px reserved a line breaks after the character that makes it exceed 60.
        {L"abcdefghijkl", 60, {L"abcdef", L"ghijkl"}},
        {L"ab cd\nef", 40, {L"ab c", L"d", L"ef"}},
        {L"", 60, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WrapLines(c.text, c.available, 10, width), c.lines) << c.available;
    }
}

TEST(MeasureTextSize, FallsBackForUnknownFamiliesAndGrowsWithStyle) {
    StartToolkit();
    const TextSize regular = MeasureTextSize(L"Install now", L"微软雅黑", 16, false, false, false);
    const TextSize bold = MeasureTextSize(L"Install now", L"微软雅黑", 16, true, false, false);
    EXPECT_GT(regular.width, 0);
    EXPECT_GE(regular.height, 16);
    EXPECT_GT(bold.width, regular.width);

    const Gdiplus::FontFamily* generic = Gdiplus::FontFamily::GenericSansSerif();
    if (!generic || generic->GetLastStatus() != Gdiplus::Ok) {
        GTEST_SKIP() << "this system has no generic sans-serif family to fall back on";
    }
    wchar_t genericName[LF_FACESIZE] = {};
    generic->GetFamilyName(genericName);
    const TextSize unknown = MeasureTextSize(L"M", L"No Such Family 123", 20, false, false, false);
    const TextSize expected = MeasureTextSize(L"M", genericName, 20, false, false, false);
    EXPECT_GT(unknown.width, 0);
    EXPECT_EQ(unknown.width, expected.width);
    EXPECT_EQ(unknown.height, expected.height);
}

TEST(TextControlSizes, FollowTheTextAndTheFontSetBefore) {
    LUIWin page;
    PreparePage(page, 632, 432);
    const std::wstring label = L"安装目录 Install";
    const TextSize regular = MeasureTextSize(label, L"微软雅黑", 14, false, false, false);
    const TextSize bold = MeasureTextSize(label, L"微软雅黑", 14, true, false, false);

    auto* plain = new LUIText(&page);
    plain->fontSize = 14;
    plain->SetText(label);
    auto* boldFirst = new LUIText(&page);
    boldFirst->fontSize = 14;
    boldFirst->fontStyle = Gdiplus::FontStyleBold;
    boldFirst->SetText(label);
    EXPECT_EQ(plain->width, regular.width);
    EXPECT_EQ(plain->height, regular.height);
    EXPECT_EQ(boldFirst->width, bold.width);
    EXPECT_GT(boldFirst->width, plain->width);
    auto* kept = new LUIText(&page);
    kept->SetTextEx(label, false);
    EXPECT_EQ(kept->width, 50);

    auto* button = new LUIButton(&page);
    button->fontSize = 14;
    button->SetRect(5, 6, 88, 32);
    button->minWidth = 88;
    button->SetText(L"OK");
    EXPECT_EQ(button->width, 88);
    button->SetText(label);
    EXPECT_EQ(button->width, regular.width + 20);
    EXPECT_EQ(button->height, 32);
    EXPECT_EQ(button->x, 5);

    auto* box = new LUICheckBox(&page);
    box->fontSize = 14;
    box->boxWidth = box->boxHeight = 16;
    box->SetText(label);
    EXPECT_EQ(box->width, 16 + 8 + regular.width);
    EXPECT_EQ(box->height, std::max(16, regular.height));
}

TEST(LUIMultilineText, LaysOutAgainOnlyWhenTheWidthChanges) {
    LUIWin page;
    PreparePage(page, 632, 432);
    auto* block = new LUIMultilineText(&page);
    block->fontSize = 14;
    block->SetText(L"第一段文字，足够长，需要换行显示在多行里面。\r\n\r\nSecond paragraph");
    block->Layout(0, 0, 200, 100);
    ASSERT_NE(block->rendered, nullptr);
    const Gdiplus::Bitmap* first = block->rendered.get();
    const UINT firstHeight = block->rendered->GetHeight();
    const int em = MeasureTextSize(L"M", L"微软雅黑", 14, false, false, false).height;
    EXPECT_EQ(firstHeight % em, 0u);
    EXPECT_GE(firstHeight, 3u * em);  // wrapped, no blank line counted separately
    EXPECT_EQ(block->rendered->GetWidth(), 200u);

    block->SetText(L"short");
    block->Layout(0, 0, 200, 100);
    EXPECT_EQ(block->rendered.get(), first);  // the text alone does not re-render
    block->Layout(0, 0, 400, 100);
    ASSERT_NE(block->rendered, nullptr);
    EXPECT_EQ(block->rendered->GetHeight(), static_cast<UINT>(em));  // "short" in one line
    EXPECT_EQ(block->layoutWidth, 400);

    block->SetText(L"\r\n\r\n");
    block->SetMargins(0, 0, 15, 0);
    EXPECT_EQ(block->rendered, nullptr);  // no lines, no picture
}
