// A push button: a state picture (or colour) with centred text; fires its action when the
// left button is released over it.
#pragma once

#include <array>

#include "ui/control_state.h"
#include "ui/lui_child.h"

class LUIButton : public ILUIChild {
public:
    explicit LUIButton(LUIWin* owner);
    ~LUIButton() override;

    void Draw(Gdiplus::Graphics& graphics, int clientX, int clientY, int clientWidth,
              int clientHeight) override;
    bool OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
    // Stores the text and widens the button to it: max(paddings + text width, minWidth).
    void SetText(const std::wstring& newText) override;

    // Cuts a vertical strip of `count` equal pictures (normal, hover, pressed, disabled)
    // into the state images; states beyond `count` show the normal picture. The strip
    // stays the caller's.
    void SetImageStrip(Gdiplus::Bitmap* strip, int count, bool stretchNineSlice);
    void LoadImageStrip(int resourceId, int count, bool stretchNineSlice);

    ControlState state = kStateNormal;
    std::array<Gdiplus::ARGB, kStateCount> backColors = {0x64375A3C, 0x649B783C, 0x6437AAA0,
                                                         0x649B323C};
    std::array<Gdiplus::ARGB, kStateCount> textColors = {0xFF000000, 0xFF000000, 0xFF000000,
                                                         0xFF000000};
    int hasImages = 0;
    std::array<ImagePtr, kStateCount> images;
    int paddingLeft = 10;
    int paddingTop = 0;
    int paddingRight = 10;
    int paddingBottom = 0;
    int minWidth = 0;
    bool nineSlice = false;
    float imageScale = 1.0f;

private:
    void RefitImages();
};
