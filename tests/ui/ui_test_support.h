// Helpers of the toolkit tests: GDI+ for the test process, a page that records the actions
// it receives, synthetic state strips and pixel reads from frames and images.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <string>
#include <vector>

#include "ui/action_map.h"
#include "ui/image_ops.h"
#include "ui/lui_win.h"

// Starts GDI+ through the toolkit's module record (shut down at process exit).
void StartToolkit();

// A page that records the handler names of the actions it receives, and a hook run on each.
class RecordingPage : public LUIWin {
public:
    void OnAction(const ActionRecord& action) override;
    std::vector<std::string> received;
    void (*onEach)(RecordingPage& page, const ActionRecord& action) = nullptr;
};

// A created, 200 x 120 window with 16-pixel margins and no background picture, served by
// the window procedure as if a modal loop ran (the test sends the messages itself).
void PreparePage(LUIWin& page, int width = 200, int height = 120);

// A vertical strip of `colors.size()` slices of w x h pixels, each one solid colour.
ImagePtr MakeStrip(const std::vector<Gdiplus::ARGB>& colors, int w, int h);

// lParam of a mouse message at content point (x, y) of the page.
LPARAM ContentPoint(const LUIWin& page, int x, int y);

// A pixel of the window's back buffer as straight (not premultiplied) ARGB.
Gdiplus::ARGB FramePixel(const LUIWin& page, int x, int y);
Gdiplus::ARGB ImagePixel(Gdiplus::Bitmap& image, int x, int y);
