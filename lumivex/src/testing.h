// Test-only access to what the library keeps inside: page pixels, the window surface, the
// window's placement and the palette. Linked into tests through lumivex_testing, never into
// programs. Call from the program's (test's) thread with a canvas open.
#pragma once

#include <cstdint>
#include <string>

#include "platform/window_system.h"

namespace lumivex::testing {

// The stored value of a page pixel: a palette index in palette mode, an RGB value otherwise.
uint32_t PageValue(int page, int32_t x, int32_t y);
// The RGB value of a page pixel through the page's own colour table.
uint32_t PageRgb(int page, int32_t x, int32_t y);
uint32_t PageColourTable(int page, int index);

// What the window shows at a pixel, after any pending painting has been done.
uint32_t SurfaceRgb(int32_t x, int32_t y);
// Has the window thread paint what awaits painting.
void FlushPainting();

WindowPlacement Placement();
std::string WindowTitle();

int LogicalPaletteCount();
uint32_t LogicalPaletteEntry(int index);
uint32_t ColourTableEntry(int index);

// Threads of this process (from /proc), to check that no window thread is left behind.
int ProcessThreadCount();
// The same, once it has come to `expected` or a second has passed: a thread leaves /proc a
// moment after a join on it has returned.
int ProcessThreadCountSettlingAt(int expected);
// Threads of the library's own ("lumivex-window", "lumivex-script", "lumivex-sdl").
int LibraryThreadCount(const std::string& name_prefix = "lumivex");

// Posts a message to the window and waits until the window thread has handled it.
bool SendToWindow(uint32_t message, uint32_t first, uint32_t second);

}  // namespace lumivex::testing
