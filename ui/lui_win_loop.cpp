// Message handling and the modal loops of LUIWin.
#include "ui/lui_win.h"

#include "ui/lui_child.h"
#include "ui/window_registry.h"

namespace {

const UINT_PTR kRefreshTimer = 1;
const UINT kRefreshInterval = 100;  // milliseconds
// While the shared loop finds its queue empty it sleeps this long at most, or until input
// arrives, instead of spinning.
const DWORD kIdleWait = 10;

bool IsMouseMessage(UINT message) { return message >= WM_MOUSEFIRST && message <= 0x020E; }

}  // namespace

LRESULT CALLBACK LUIWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    LUIWin* window = FindRegisteredWindow(hwnd);
    if (message == WM_CLOSE && window && !window->closing && !window->closesOnRequest) return 0;
    if (window && !window->closing && window->running) {
        window->ServeMessage(message, wParam, lParam);
        if (WindowRegistry.empty()) PostMessageW(hwnd, WM_QUIT, 0, 0);
    }
    // The default handling sees every message: it validates painted windows and destroys
    // the window on WM_CLOSE.
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void LUIWin::ServeMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) PresentFrame();
    if (message == WM_TIMER && wParam == timerId) {
        UpdateWindow(hwnd);
        Invalidate();
    }
    Dispatch(message, wParam, lParam);
}

void LUIWin::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    bool handled = false;
    // By index: an action fired by a child may make the page add controls.
    for (size_t i = 0; i < children.size(); ++i) {
        if (children[i]->OnMessage(hwnd, message, wParam, lParam)) {
            handled = true;
            if (IsMouseMessage(message)) break;
        }
    }
    OnMessage(hwnd, message, wParam, lParam);
    if (message == WM_LBUTTONUP && dragging) {
        // A drag ends with the button, also when the release lands on a control (a fast
        // drag can release before the window has caught up with the cursor).
        dragging = 0;
        ReleaseCapture();
    }
    if (message == WM_CAPTURECHANGED) {
        // Capture taken away mid-drag (another window, a system dialog): the release never
        // comes, and the window must not follow a cursor whose button is up.
        dragging = 0;
    }
    if (handled) return;
    if (message == WM_LBUTTONDOWN) {
        SetCapture(hwnd);
        dragging = 1;
        dragAnchorX = LOWORD(lParam);
        dragAnchorY = HIWORD(lParam);
    } else if (message == WM_MOUSEMOVE && dragging) {
        POINT cursor = {};
        GetCursorPos(&cursor);
        SetWindowPos(hwnd, nullptr, cursor.x - dragAnchorX, cursor.y - dragAnchorY, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOREDRAW);
    }
}

void LUIWin::StartShowing() {
    CenterOnScreen();
    running = 1;
    timerId = SetTimer(hwnd, kRefreshTimer, kRefreshInterval, nullptr);
    ShowWindow(hwnd, SW_SHOWNORMAL);
    UpdateWindow(hwnd);
    Invalidate();
}

void LUIWin::ShowModal() {
    if (!hwnd) return;
    StartShowing();
    if (MessageLoopActive) return;  // the loop further up the stack serves this window too
    MessageLoopActive = true;
    MSG msg;
    while (MessageLoopActive) {
        if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) break;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        } else if (!AnyRegisteredWindowVisible()) {
            break;
        } else {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, kIdleWait, QS_ALLINPUT);
        }
    }
    MessageLoopActive = false;
}

void LUIWin::RunUntilClosed() {
    if (!hwnd) return;
    StartShowing();
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
        if (msg.message == WM_QUIT || msg.message == WM_CLOSE) break;
    }
}
