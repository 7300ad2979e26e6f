// The look of an interactive control, which also indexes its state pictures and colours.
#pragma once

using ControlState = int;

constexpr ControlState kStateNormal = 0;
constexpr ControlState kStateHover = 1;
constexpr ControlState kStatePressed = 2;
constexpr ControlState kStateDisabled = 3;
constexpr int kStateCount = 4;
