// Frame composition and presentation of LUIWin.
#include "ui/lui_win.h"

#include <cstring>

#include "base/diagnostics.h"
#include "ui/lui_child.h"

namespace {

const ULONGLONG kFrameInterval = 40;  // milliseconds between two presented frames at least
const Gdiplus::ARGB kOpaqueWhite = 0xFFFFFFFF;

// A 32-bit top-down DIB section: GDI+ keeps per-pixel alpha (premultiplied, as
// UpdateLayeredWindow wants it) only on device contexts holding one.
HBITMAP CreateAlphaSurface(HDC screen, int width, int height, void** bits) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return CreateDIBSection(screen, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

}  // namespace

void LUIWin::ReleaseBackBuffer() {
    if (memoryDc && previousBitmap) SelectObject(memoryDc.get(), previousBitmap);
    previousBitmap = nullptr;
    backBuffer.reset();
    backBufferBits = nullptr;
    memoryDc.reset();
    backgroundPixels.clear();
    backgroundPixelsOf = nullptr;
}

void LUIWin::PrepareBackgroundPixels(int width, int height) {
    backgroundPixels.assign(static_cast<size_t>(width) * height, 0);
    backgroundPixelsOf = background.get();
    if (!background) return;
    Gdiplus::Bitmap surface(width, height, width * 4, PixelFormat32bppPARGB,
                            reinterpret_cast<BYTE*>(backgroundPixels.data()));
    Gdiplus::Graphics graphics(&surface);
    graphics.DrawImage(background.get(), 0, 0, width, height);
}

HDC LUIWin::RenderFrame() {
    if (closing) return nullptr;
    const ClientBox c = GetClientBox();
    if ((c.width != cachedClient.width || c.height != cachedClient.height) && memoryDc) {
        ReleaseBackBuffer();
    }
    if (!backBuffer) {
        HDC screen = GetDC(nullptr);
        memoryDc.reset(CreateCompatibleDC(screen));
        cachedClient = c;
        backBuffer.reset(CreateAlphaSurface(screen, c.width, c.height, &backBufferBits));
        ReleaseDC(nullptr, screen);
        if (!memoryDc || !backBuffer) {
            ReleaseBackBuffer();
            return nullptr;
        }
        previousBitmap = SelectObject(memoryDc.get(), backBuffer.get());
        // The background is fitted to the client size only here, when the buffer is new.
        if (!background) {
            background = CreateSolidImage(c.width, c.height, kOpaqueWhite);
        } else if (nineSlice) {
            background = NineSliceScale(std::move(background), c.width, c.height, sliceLeft,
                                        sliceTop, sliceRight, sliceBottom);
        }
    }
    // The frame starts as a copy of the prepared background: stretching and blending the
    // picture anew would cost most of the frame at high DPI.
    if (backgroundPixelsOf != background.get() || backgroundPixels.empty()) {
        PrepareBackgroundPixels(c.width, c.height);
    }
    GdiFlush();
    std::memcpy(backBufferBits, backgroundPixels.data(), backgroundPixels.size() * sizeof(UINT32));
    Gdiplus::Graphics graphics(memoryDc.get());
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
    graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAliasGridFit);
    for (size_t i = 0; i < children.size(); ++i) {
        ILUIChild* child = children[i];
        if (!child->visible) continue;
        child->Draw(graphics, c.x, c.y, c.width, c.height);
        child->DrawChildren(graphics, c.x, c.y, c.width, c.height);
    }
    return memoryDc.get();
}

void LUIWin::PresentFrame() {
    const ULONGLONG now = GetTickCount64();
    if (now - lastPaintTick < kFrameInterval) return;
    lastPaintTick = now;
    const ClientBox c = GetClientBox();
    WindowDc dc(hwnd);
    if (!dc.get()) return;
    HDC source = RenderFrame();
    if (!source) return;
    SIZE size = {c.width, c.height};
    POINT origin = {0, 0};
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    UpdateLayeredWindow(hwnd, dc.get(), nullptr, &size, source, &origin, 0, &blend, ULW_ALPHA);
    if (!framesShown++) {
        DebugPrint(L"%ls: first frame at %u ms", name.c_str(), MillisecondsSinceStart());
    }
}
