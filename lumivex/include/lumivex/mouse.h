// The mouse part: the latest pointer position and buttons the canvas window reported. Link
// lumivex_mouse to use it; it fills MouseHook at program start. The values are 0 until the first
// mouse message and keep their last values after the canvas closes; reading them leaves the
// status alone.
#pragma once

#include <cstdint>

// x of the pointer in the most recent mouse message (canvas pixels; screen pixels after a wheel).
int16_t MouseX();

// y of the pointer in the most recent mouse message.
int16_t MouseY();

// Bits: 1 left, 2 right, 4 middle button, 8 Shift, 16 Ctrl, as of the most recent mouse message.
uint16_t MouseButtons();
