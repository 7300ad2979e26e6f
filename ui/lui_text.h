// A label. Setting its text sizes it to the text in the current font, so pages set the
// font first.
#pragma once

#include "ui/lui_child.h"

class LUIText : public ILUIChild {
public:
    explicit LUIText(LUIWin* owner);
    ~LUIText() override;

    void Draw(Gdiplus::Graphics& graphics, int clientX, int clientY, int clientWidth,
              int clientHeight) override;
    void SetText(const std::wstring& newText) override;
    // Stores the text; with autoSize the control takes the measured size of the text.
    virtual void SetTextEx(const std::wstring& newText, bool autoSize);
    virtual void GetTextColor(Gdiplus::ARGB* out) const;

    int horizontalAlignment = 0;  // GDI+ string alignment: 0 near, 1 centre, 2 far
    int verticalAlignment = 0;
};
