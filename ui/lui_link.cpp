#include "ui/lui_link.h"

#include "ui/button_behavior.h"

LUILink::LUILink(LUIWin* owner, bool underline) : LUIText(owner) {
    if (underline) {
        fontStyle |= Gdiplus::FontStyleUnderline;
    } else {
        fontStyle &= ~Gdiplus::FontStyleUnderline;
    }
}

LUILink::~LUILink() = default;

bool LUILink::OnMessage(HWND, UINT message, WPARAM, LPARAM lParam) {
    return ButtonMouseMessage(*this, state, message, lParam);
}

void LUILink::GetTextColor(Gdiplus::ARGB* out) const { *out = linkColors[state]; }
