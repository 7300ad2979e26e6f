#include "ui/button_behavior.h"

#include "ui/lui_child.h"

bool ButtonMouseMessage(ILUIChild& control, ControlState& state, UINT message, LPARAM lParam) {
    if (state == kStateDisabled) return false;
    switch (message) {
    case WM_MOUSEMOVE:
        if (!control.visible) return false;
        if (control.HitTest(lParam)) {
            if (state != kStatePressed) state = kStateHover;
            return true;
        }
        state = kStateNormal;
        return false;
    case WM_LBUTTONDOWN:
        if (!control.visible || !control.HitTest(lParam)) return false;
        state = kStatePressed;
        return true;
    case WM_LBUTTONUP:
        if (!control.visible || !control.HitTest(lParam)) return false;
        state = kStateHover;
        control.FireAction();
        return true;
    default:
        return false;
    }
}
