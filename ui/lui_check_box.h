// A check box: a state picture from a strip of eight (unchecked normal, hover, pressed,
// disabled, then the same checked) and a text beside it. A release over it toggles
// `checked` and fires the action.
#pragma once

#include <array>

#include "ui/control_state.h"
#include "ui/lui_child.h"

class LUICheckBox : public ILUIChild {
public:
    explicit LUICheckBox(LUIWin* owner);
    ~LUICheckBox() override;

    void Draw(Gdiplus::Graphics& graphics, int clientX, int clientY, int clientWidth,
              int clientHeight) override;
    // Takes every message whose point lies in the box while it is visible and enabled.
    bool OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
    // Stores the text and sizes the control to box, gap and text.
    void SetText(const std::wstring& newText) override;

    void SetImageStrip(Gdiplus::Bitmap* strip);
    void LoadImageStrip(int resourceId);

    // Which of the eight pictures the current state and `checked` show.
    int PictureIndex() const;

    ControlState state = kStateNormal;
    int boxWidth = 0;
    int boxHeight = 0;
    std::array<ImagePtr, 2 * kStateCount> images;
    int checked = 0;
    int gap = 8;
};
