// The pieces the 632 x 432 pages are built from: the window with its background, the close
// button, the logo and product name at the top left, and the progress block of the
// installing and uninstalling pages. Every number is a 96-DPI value the page scales.
#pragma once

#include <string>

class LUIButton;
class LUIImage;
class LUIProgressbar;
class LUIText;
class LUIWin;

// Creates the hidden window titled App_Name at 632 x 432 with the page background and its
// 16-pixel margins.
void CreatePageWindow(LUIWin* page, bool nineSlice);

// The 32 x 32 close button at the top right, raising "OnCloseWin" on the page.
LUIButton* AddCloseButton(LUIWin* page);

// The 24 x 24 logo at the top left.
LUIImage* AddHeaderLogo(LUIWin* page);

// Soft_Name in bold beside the logo, in `family` (null: the toolkit's default family).
LUIText* AddHeaderTitle(LUIWin* page, const wchar_t* family);

// A banner with a slogan under it, a progress bar, a status line below the bar's left end
// and a percentage ("0%") below its right end.
struct ProgressControls {
    LUIProgressbar* progressBar = nullptr;
    LUIText* statusText = nullptr;
    LUIText* percentText = nullptr;
    LUIImage* banner = nullptr;
    LUIText* slogan = nullptr;
};

// Adds the progress block in drawing order: bar, status line, percentage, banner, slogan.
ProgressControls AddProgressControls(LUIWin* page, const std::wstring& status,
                                     const std::wstring& slogan);

// Puts the percentage back at the bottom right after its text changed. Scaled like every
// other distance on the page, so the label keeps its place at the first update on any
// screen.
void PlacePercentText(LUIWin* page, LUIText* percentText);
