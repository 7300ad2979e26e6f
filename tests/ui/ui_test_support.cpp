#include "ui_test_support.h"

#include "ui/toolkit_module.h"

void StartToolkit() {
    if (ToolkitModule.gdiplusToken == 0) ToolkitModule.Start(GetModuleHandleW(nullptr));
}

void RecordingPage::OnAction(const ActionRecord& action) {
    received.push_back(action.handlerName);
    if (onEach) onEach(*this, action);
}

void PreparePage(LUIWin& page, int width, int height) {
    StartToolkit();
    page.Create(L"toolkit test");
    page.SetSize(width, height);
    page.marginLeft = page.marginTop = page.marginRight = page.marginBottom = 16;
    page.running = 1;
}

ImagePtr MakeStrip(const std::vector<Gdiplus::ARGB>& colors, int w, int h) {
    ImagePtr strip = CreateSolidImage(w, h * static_cast<int>(colors.size()), 0);
    Gdiplus::Graphics graphics(strip.get());
    for (size_t i = 0; i < colors.size(); ++i) {
        Gdiplus::SolidBrush brush{Gdiplus::Color(colors[i])};
        graphics.FillRectangle(&brush, 0, static_cast<int>(i) * h, w, h);
    }
    return strip;
}

LPARAM ContentPoint(const LUIWin& page, int x, int y) {
    return MAKELPARAM(x + page.marginLeft, y + page.marginTop);
}

Gdiplus::ARGB FramePixel(const LUIWin& page, int x, int y) {
    DIBSECTION section = {};
    if (GetObjectW(page.backBuffer.get(), sizeof(section), &section) != sizeof(section)) return 0;
    const BYTE* row = static_cast<const BYTE*>(section.dsBm.bmBits) + y * section.dsBm.bmWidthBytes;
    const BYTE* p = row + x * 4;
    const BYTE alpha = p[3];
    if (alpha == 0) return 0;
    auto straight = [alpha](BYTE c) { return static_cast<Gdiplus::ARGB>((c * 255 + alpha / 2) / alpha); };
    return (Gdiplus::ARGB(alpha) << 24) | (straight(p[2]) << 16) | (straight(p[1]) << 8) |
           straight(p[0]);
}

Gdiplus::ARGB ImagePixel(Gdiplus::Bitmap& image, int x, int y) {
    Gdiplus::Color color;
    image.GetPixel(x, y, &color);
    return color.GetValue();
}
