// Move-only owners of the GDI handles the toolkit creates.
#pragma once

#include <windows.h>

#include "app/win_handle.h"

// Memory device contexts from CreateCompatibleDC.
struct MemoryDcTraits {
    using Handle = HDC;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle dc) { DeleteDC(dc); }
};
using UniqueMemoryDc = UniqueWinHandle<MemoryDcTraits>;

// Bitmaps, not selected into any device context when they are closed.
struct BitmapTraits {
    using Handle = HBITMAP;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle bitmap) { DeleteObject(bitmap); }
};
using UniqueBitmap = UniqueWinHandle<BitmapTraits>;

// A device context borrowed with GetDC, given back with ReleaseDC.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDc() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};
