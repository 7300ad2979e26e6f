// The mouse behaviour of buttons and links: hover while the cursor is over the control,
// pressed while the button is down on it, the action on a release over it, nothing while
// disabled.
#pragma once

#include <windows.h>

#include "ui/control_state.h"

class ILUIChild;

// Updates `state` for one window message; true when the control takes the message.
bool ButtonMouseMessage(ILUIChild& control, ControlState& state, UINT message, LPARAM lParam);
