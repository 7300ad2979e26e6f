// A picture stretched into the control, or a white rounded placeholder without one.
#pragma once

#include "ui/lui_child.h"

class LUIImage : public ILUIChild {
public:
    explicit LUIImage(LUIWin* owner);
    ~LUIImage() override;

    void Draw(Gdiplus::Graphics& graphics, int clientX, int clientY, int clientWidth,
              int clientHeight) override;
    // Replaces the picture by the PNG resource (none when it is missing).
    void LoadImage(int resourceId);

    ImagePtr picture;
};
