// A display-only path field: a picture frame with the text shortened from the front until
// it fits. It takes no input; a press on it drags the window.
#pragma once

#include <array>
#include <functional>

#include "ui/control_state.h"
#include "ui/lui_child.h"

// Shortens `text` from the front until `measure` finds it no wider than `maxWidth`: the
// first round drops 4 characters and puts "..." in front, each further round drops one
// more character than the last from the already shortened text. Stops at "..." even when
// that does not fit. `lastHeight` gets the height of the last measurement.
std::wstring ShortenFromFront(const std::wstring& text, int maxWidth,
                              const std::function<TextSize(const std::wstring&)>& measure,
                              int* lastHeight);

class LUIEdit : public ILUIChild {
public:
    explicit LUIEdit(LUIWin* owner);
    ~LUIEdit() override;

    void Draw(Gdiplus::Graphics& graphics, int clientX, int clientY, int clientWidth,
              int clientHeight) override;
    // The frame picture; the picture stays the caller's.
    void SetImageStrip(Gdiplus::Bitmap* picture);

    std::array<ImagePtr, kStateCount> images;
    int hasImages = 0;
};
