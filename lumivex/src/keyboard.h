// The keyboard part: the 32-slot key queue fed by the keyboard hook on the window thread, and
// the translation of keys without a character into extended codes.
#pragma once

#include <cstdint>
#include <vector>

#include "lumivex/lumivex.h"

namespace lumivex {

// Installs the keyboard hook; runs at program start after the canvas part.
void StartKeyboardPart();

// The codes a key-down of virtual key k puts in the queue under these modifiers (0 and the
// extended code for each extended key; the single code 30 for Control+Tab).
std::vector<uint8_t> TranslateKey(uint32_t virtual_key, bool shift, bool control, bool alt);

// The keyboard hook: create, destroy, close, key down, character, system key down.
int32_t KeyboardHandler(WindowHandle window, uint32_t message, uint32_t first, uint32_t second);

}  // namespace lumivex
