// The pieces the 632 x 432 pages are built from: the window with its background, the close
// button, the logo and product name at the top left, and the progress block of the
// installing and uninstalling pages. Every number is a 96-DPI value the page scales.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <atomic>
#include <string>

class LUIButton;
class LUIImage;
class LUIProgressbar;
class LUIText;
class LUIWin;

// Names the page (its diagnostic lines carry the name) and creates its hidden window titled
// App_Name at 632 x 432 with the page background and its 16-pixel margins.
void CreatePageWindow(LUIWin* page, const wchar_t* name, bool nineSlice);

// The 32 x 32 close button at the top right, raising "OnCloseWin" on the page.
LUIButton* AddCloseButton(LUIWin* page);

// The 24 x 24 logo at the top left.
LUIImage* AddHeaderLogo(LUIWin* page);

// Soft_Name in bold beside the logo, in `family` (null: the toolkit's default family).
LUIText* AddHeaderTitle(LUIWin* page, const wchar_t* family);

// How a text button looks, in 96-DPI numbers: its size (the least width: it widens to its
// text), the size of its text (in Font_Family unless pageFamily is cleared, then in the
// control's own family), one text colour for every state, and its picture strip, stretched
// by nine-slice (unless cleared) at imageScale times the button's size.
struct TextButtonLook {
    int width;
    int height;
    int fontSize;
    Gdiplus::ARGB color;
    int png;
    int states;
    float imageScale;
    bool bold = false;
    bool pageFamily = true;
    bool nineSlice = true;
};

// A text button raising `action` on the page; the caller places it.
LUIButton* AddTextButton(LUIWin* page, const TextButtonLook& look, const std::wstring& text,
                         const char* action);

// The progress block of the installing and uninstalling pages: a banner with a slogan under
// it, a progress bar, a status line below the bar's left end and a percentage ("0%") below
// its right end. The pages derive from it.
struct ProgressControls {
    LUIProgressbar* progressBar = nullptr;
    LUIText* statusText = nullptr;
    LUIText* percentText = nullptr;
    LUIImage* banner = nullptr;
    LUIText* slogan = nullptr;
};

// Adds the progress block to the page in drawing order: bar, status line, percentage,
// banner, slogan.
void AddProgressControls(LUIWin* page, const std::wstring& status, const std::wstring& slogan,
                         ProgressControls* controls);

// Puts the percentage back at the bottom right after its text changed. Scaled like every
// other distance on the page, so the label keeps its place at the first update on any
// screen.
void PlacePercentText(LUIWin* page, LUIText* percentText);

// Once `finished` is set (the worker's last write): stops the page's timer, clears its id
// and closes the page; true then.
bool CloseWhenFinished(LUIWin* page, const std::atomic<int>& finished, UINT_PTR* timerId);
