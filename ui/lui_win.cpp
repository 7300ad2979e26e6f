#include "ui/lui_win.h"

#include <cwchar>

#include "base/diagnostics.h"
#include "ui/lui_child.h"
#include "ui/png_resource.h"
#include "ui/toolkit_module.h"
#include "ui/window_registry.h"

namespace {

const int kWindowIconId = 107;

// GetDpiForWindow exists from Windows 10 1607 on; older systems (and Wine 8) ask the
// window's device context.
int WindowDpi(HWND hwnd) {
    using GetDpiForWindowProc = UINT(WINAPI*)(HWND);
    if (HMODULE user32 = GetModuleHandleW(L"User32.dll")) {
        const auto getDpi = reinterpret_cast<GetDpiForWindowProc>(
            reinterpret_cast<void*>(GetProcAddress(user32, "GetDpiForWindow")));
        if (getDpi) return static_cast<int>(getDpi(hwnd));
    }
    HDC dc = GetDC(hwnd);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSX);
    ReleaseDC(hwnd, dc);
    return dpi;
}

}  // namespace

LUIWin::LUIWin() {
    wchar_t text[32] = {};
    std::swprintf(text, 32, L"LUI_%p", static_cast<void*>(this));
    className = text;
}

LUIWin::~LUIWin() {
    while (!children.empty()) {
        ILUIChild* child = children.front();
        children.erase(children.begin());
        child->Release();
    }
    ReleaseBackBuffer();
    memoryDc.reset();
    background.reset();
    if (hwnd) UnregisterWindow(hwnd);
    // A window that was never closed would stay on screen unserved and keep its class
    // registered, so a later window at this address could not register it again.
    if (hwnd && IsWindow(hwnd)) DestroyWindow(hwnd);
    UnregisterClassW(className.c_str(), ToolkitModule.instance);
    hwnd = nullptr;
}

void LUIWin::OnAction(const ActionRecord&) {}

bool LUIWin::OnMessage(HWND, UINT, WPARAM, LPARAM) { return false; }

void LUIWin::RefreshTexts() {}

int LUIWin::Scale(int value) { return MulDiv(value, dpi, 96); }

bool LUIWin::Create(const std::wstring& title) {
    HINSTANCE instance = ToolkitModule.instance;
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_IME;
    windowClass.lpfnWndProc = LUIWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(kWindowIconId));
    windowClass.hIconSm = windowClass.hIcon;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    windowClass.lpszClassName = className.c_str();
    if (!RegisterClassExW(&windowClass)) {
        DebugPrint(L"LUIWin::Create RegisterClassEx: %d", static_cast<int>(GetLastError()));
        return false;
    }
    hwnd = CreateWindowExW(WS_EX_LAYERED, className.c_str(), title.c_str(),
                           WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 300, 500, 800, 600,
                           nullptr, nullptr, instance, nullptr);
    if (!hwnd) {
        DebugPrint(L"LUIWin::Create CreateWindowEx: %d", static_cast<int>(GetLastError()));
        return false;
    }
    WindowRegistry.push_back({hwnd, this});
    cachedClient = GetClientBox();
    dpi = WindowDpi(hwnd);
    return true;
}

void LUIWin::SetSize(int cx, int cy) {
    SetWindowPos(hwnd, nullptr, 0, 0, cx, cy, SWP_NOZORDER | SWP_NOMOVE);
}

bool LUIWin::SetBackground(int resourceId, int left, int top, int right, int bottom,
                           bool stretchNineSlice) {
    marginLeft = sliceLeft = left;
    marginTop = sliceTop = top;
    marginRight = sliceRight = right;
    marginBottom = sliceBottom = bottom;
    nineSlice = stretchNineSlice;
    // The old picture's memory may come back for the new one: drop the prepared pixels
    // instead of trusting the picture's address.
    backgroundPixels.clear();
    backgroundPixelsOf = nullptr;
    background = LoadPngResource(ToolkitModule.instance, resourceId);
    if (background && background->GetLastStatus() != Gdiplus::Ok) background.reset();
    return background == nullptr;
}

ClientBox LUIWin::GetClientBox() const {
    RECT rect = {};
    GetClientRect(hwnd, &rect);
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

RECT LUIWin::GetContentRect() const {
    const ClientBox client = GetClientBox();
    return {0, 0, client.width - marginLeft - marginRight,
            client.height - marginTop - marginBottom};
}

ClientBox LUIWin::ContentToClient(int x, int y, int w, int h) const {
    return {x + marginLeft, y + marginTop, w, h};
}

void LUIWin::CenterOnScreen() {
    RECT desktop = {};
    RECT window = {};
    GetClientRect(GetDesktopWindow(), &desktop);
    GetWindowRect(hwnd, &window);
    const int x = ((desktop.right - desktop.left) - (window.right - window.left)) / 2;
    const int y = ((desktop.bottom - desktop.top) - (window.bottom - window.top)) / 2;
    SetWindowPos(hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

void LUIWin::Invalidate() {
    if (hwnd) InvalidateRect(hwnd, nullptr, TRUE);
}

void LUIWin::Close() {
    PostMessageW(hwnd, WM_CLOSE, 0, 0);
    closing = 1;
}
