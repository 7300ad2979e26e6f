// A label that behaves like a button: its colour follows the mouse state, and a release
// over it fires its action.
#pragma once

#include <array>

#include "ui/control_state.h"
#include "ui/lui_text.h"

class LUILink : public LUIText {
public:
    LUILink(LUIWin* owner, bool underline);
    ~LUILink() override;

    bool OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
    void GetTextColor(Gdiplus::ARGB* out) const override;

    // The normal colour starts fully transparent: a link whose page leaves it so shows only
    // while hovered or pressed.
    std::array<Gdiplus::ARGB, kStateCount> linkColors = {0x00000000, 0xFF000000, 0xFF000000,
                                                         0xFF000000};
    ControlState state = kStateNormal;
};
