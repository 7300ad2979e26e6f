// The top-level window: a borderless layered window whose whole surface is composed with
// GDI+ into a back buffer and presented with per-pixel alpha. It owns its child controls,
// offers them its messages, drags itself by its surface and runs the modal loops.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <string>
#include <vector>

#include "base/handles.h"
#include "ui/dpi_helper.h"
#include "ui/image_ops.h"
#include "ui/lui_obj.h"

class ILUIChild;

// A rectangle as origin and size.
struct ClientBox {
    int x;
    int y;
    int width;
    int height;
};

class LUIWin : public LUIObj, public DpiHelper {
public:
    LUIWin();
    // Deletes the children and the drawing resources, leaves the registry, destroys a
    // native window that was never closed and unregisters the class.
    ~LUIWin() override;

    void OnAction(const ActionRecord& action) override;
    // Sees every message the window serves, after the children; the result is ignored.
    virtual bool OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    // A hook for pages that re-read their texts; the toolkit never calls it.
    virtual void RefreshTexts();
    // v * dpi / 96, rounded to the nearest integer, halves away from zero.
    int Scale(int value) override;

    // Registers the class "LUI_<address>" and creates the hidden layered window.
    bool Create(const std::wstring& title);
    void SetSize(int cx, int cy);
    // Margins and slice insets := the four values. True when the picture cannot be loaded;
    // frames then use an opaque white background.
    bool SetBackground(int resourceId, int left, int top, int right, int bottom, bool nineSlice);
    ClientBox GetClientBox() const;
    RECT GetContentRect() const;
    ClientBox ContentToClient(int x, int y, int w, int h) const;
    void CenterOnScreen();
    void Invalidate();
    void Close();
    // Shows the window and runs the shared loop, unless a loop further up the stack runs.
    void ShowModal();
    // Shows the window and serves messages until any WM_CLOSE or WM_QUIT is dispatched.
    void RunUntilClosed();
    // Composes one frame into the back buffer; null while closing.
    HDC RenderFrame();

    // What the window procedure does for a served message: frames, timer, dispatch.
    void ServeMessage(UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd = nullptr;
    int marginLeft = 0;
    int marginTop = 0;
    int marginRight = 0;
    int marginBottom = 0;
    int sliceLeft = 0;
    int sliceTop = 0;
    int sliceRight = 0;
    int sliceBottom = 0;
    bool nineSlice = false;
    int running = 0;
    int dragging = 0;
    int dragAnchorX = 0;
    int dragAnchorY = 0;
    UniqueMemoryDc memoryDc;
    ClientBox cachedClient = {0, 0, 0, 0};
    UniqueBitmap backBuffer;
    void* backBufferBits = nullptr;  // the pixels of backBuffer, top row first
    HGDIOBJ previousBitmap = nullptr;
    ImagePtr background;
    // `background` as every frame starts: stretched to the buffer's size and premultiplied
    // like the buffer, made again when `background` is another picture.
    std::vector<UINT32> backgroundPixels;
    const Gdiplus::Bitmap* backgroundPixelsOf = nullptr;
    int closing = 0;
    std::vector<ILUIChild*> children;  // owned, in creation order
    bool cancelled = true;
    // False for a page that ends only by its own Close: a close the system asks for (Alt+F4,
    // the taskbar) is then refused, as the page has no close button to offer.
    bool closesOnRequest = true;
    UINT_PTR timerId = 0;
    std::wstring className;
    ULONGLONG lastPaintTick = 0;
    unsigned framesShown = 0;
    int dpi = 96;

private:
    void StartShowing();
    void ReleaseBackBuffer();
    void PrepareBackgroundPixels(int width, int height);
    void PresentFrame();
    void Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
};

// The window procedure of every toolkit window.
LRESULT CALLBACK LUIWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
