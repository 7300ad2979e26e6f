// Clicks on a hidden page, through the window's own message handling: no frame is drawn.
#pragma once

#include <windows.h>

#include "ui/lui_child.h"
#include "ui/lui_win.h"

// Presses and releases the left button over the middle of a control, as the window
// procedure hands the two messages on.
inline void Click(LUIWin& page, const ILUIChild& control) {
    const ClientBox r = control.ClientRect();
    const LPARAM at = MAKELPARAM(r.x + r.width / 2, r.y + r.height / 2);
    page.ServeMessage(WM_LBUTTONDOWN, 0, at);
    page.ServeMessage(WM_LBUTTONUP, 0, at);
}
