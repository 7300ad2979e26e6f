// A button drawn as its text followed by a small state icon, with no background.
#pragma once

#include "ui/lui_button.h"

class LUIIconBtn : public LUIButton {
public:
    explicit LUIIconBtn(LUIWin* owner);
    ~LUIIconBtn() override;

    void Draw(Gdiplus::Graphics& graphics, int clientX, int clientY, int clientWidth,
              int clientHeight) override;

    // Normal, hover and pressed icons from a vertical strip of three; the strip stays the
    // caller's. The disabled state shows the normal icon.
    void SetIconStrip(Gdiplus::Bitmap* strip);
    // Text (regular style) plus gap and icon.
    TextSize MeasureContent() const;

    std::array<ImagePtr, kStateCount> icons;
    int iconWidth = 0;
    int iconHeight = 0;
    int iconGap = 5;
};
