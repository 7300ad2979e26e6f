// A rounded track with its left part filled to value / maximum. Pages write `value`
// directly; the next frame shows it.
#pragma once

#include "ui/lui_child.h"

class LUIProgressbar : public ILUIChild {
public:
    explicit LUIProgressbar(LUIWin* owner);
    ~LUIProgressbar() override;

    void Draw(Gdiplus::Graphics& graphics, int clientX, int clientY, int clientWidth,
              int clientHeight) override;

    float maximum = 100.0f;
    float value = 0.0f;
    Gdiplus::ARGB barColor = 0xFF00A971;
    Gdiplus::ARGB trackColor = 0xFFFFFFFF;
};
