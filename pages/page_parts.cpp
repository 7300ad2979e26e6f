#include "pages/page_parts.h"

#include "config/ui_data.h"
#include "ui/lui_button.h"
#include "ui/lui_image.h"
#include "ui/lui_progressbar.h"
#include "ui/lui_text.h"
#include "ui/lui_win.h"

namespace {

const int kBackgroundPng = 129;
const int kClosePng = 130;
const int kLogoPng = 133;
const int kBannerPng = 180;
const Gdiplus::ARGB kBarColor = 0xFF2369FC;
const Gdiplus::ARGB kTrackColor = 0xFFE6E6E6;
const Gdiplus::ARGB kStatusColor = 0xFF555555;
const Gdiplus::ARGB kSloganColor = 0xFF333333;
const int kSloganFontSize = 20;

}  // namespace

void CreatePageWindow(LUIWin* page, const wchar_t* name, bool nineSlice) {
    page->name = name;
    page->Create(App_Name);
    page->SetSize(page->Scale(632), page->Scale(432));
    const int margin = page->Scale(16);
    page->SetBackground(kBackgroundPng, margin, margin, margin, margin, nineSlice);
}

LUIButton* AddCloseButton(LUIWin* page) {
    auto* button = new LUIButton(page);
    button->SetSize(page->Scale(32), page->Scale(32));
    button->AlignRight(page->Scale(10), page->Scale(10));
    button->LoadImageStrip(kClosePng, 4, false);
    button->BindAction(page, "OnCloseWin");
    return button;
}

LUIImage* AddHeaderLogo(LUIWin* page) {
    auto* logo = new LUIImage(page);
    logo->SetRect(page->Scale(20), page->Scale(15), page->Scale(24), page->Scale(24));
    logo->LoadImage(kLogoPng);
    return logo;
}

LUIText* AddHeaderTitle(LUIWin* page, const wchar_t* family) {
    auto* title = new LUIText(page);
    if (family) title->SetFontFamily(family);
    title->fontSize = page->Scale(Font_Size_16);
    title->textColor = Soft_Name_Font_Color;
    title->fontStyle = Gdiplus::FontStyleBold;
    title->SetText(Soft_Name);
    title->x = page->Scale(52);
    title->y = page->Scale(15);
    return title;
}

LUIButton* AddTextButton(LUIWin* page, const TextButtonLook& look, const std::wstring& text,
                         const char* action) {
    auto* button = new LUIButton(page);
    button->SetSize(page->Scale(look.width), page->Scale(look.height));
    button->minWidth = page->Scale(look.width);
    if (look.pageFamily) button->SetFontFamily(Font_Family);
    button->fontSize = page->Scale(look.fontSize);
    if (look.bold) button->fontStyle = Gdiplus::FontStyleBold;
    button->textColors = {look.color, look.color, look.color, look.color};
    button->LoadImageStrip(look.png, look.states, look.nineSlice);
    button->imageScale = look.imageScale;
    button->SetText(text);
    button->BindAction(page, action);
    return button;
}

void AddProgressControls(LUIWin* page, const std::wstring& status, const std::wstring& slogan,
                         ProgressControls* controls) {
    const RECT content = page->GetContentRect();

    controls->progressBar = new LUIProgressbar(page);
    controls->progressBar->SetRect(page->Scale(30), page->Scale(348), page->Scale(540),
                                   page->Scale(8));
    controls->progressBar->barColor = kBarColor;
    controls->progressBar->trackColor = kTrackColor;

    LUIText* statusText = controls->statusText = new LUIText(page);
    statusText->SetFontFamily(Font_Family);
    statusText->fontSize = page->Scale(Font_Size_12);
    statusText->textColor = kStatusColor;
    statusText->SetText(status);
    statusText->x = page->Scale(30);
    statusText->y = content.bottom - statusText->height - page->Scale(20);

    LUIText* percentText = controls->percentText = new LUIText(page);
    percentText->SetFontFamily(Font_Family);
    percentText->fontSize = page->Scale(Font_Size_12);
    percentText->textColor = kStatusColor;
    percentText->horizontalAlignment = Gdiplus::StringAlignmentFar;
    // The label keeps this width whatever it shows, right-aligned inside it, so no digit
    // count clips it.
    percentText->SetTextEx(L"0%", false);
    percentText->SetSize(page->Scale(50), percentText->MeasureText().height);
    PlacePercentText(page, percentText);

    controls->banner = new LUIImage(page);
    controls->banner->SetRect(0, page->Scale(46), page->Scale(600), page->Scale(232));
    controls->banner->LoadImage(kBannerPng);

    controls->slogan = new LUIText(page);
    controls->slogan->fontSize = page->Scale(kSloganFontSize);
    controls->slogan->textColor = kSloganColor;
    controls->slogan->SetText(slogan);
    controls->slogan->CenterX(page->Scale(288));
}

void PlacePercentText(LUIWin* page, LUIText* percentText) {
    percentText->AlignRightBottom(page->Scale(30), page->Scale(20));
}

bool CloseWhenFinished(LUIWin* page, const std::atomic<int>& finished, UINT_PTR* timerId) {
    if (!finished.load(std::memory_order_acquire)) return false;
    if (*timerId) KillTimer(page->hwnd, *timerId);
    *timerId = 0;
    page->Close();
    return true;
}
