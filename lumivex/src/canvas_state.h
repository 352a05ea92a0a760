// The canvas state: everything the library keeps about the open canvas, shared by the canvas,
// page, drawing-state, line and font code.
//
// One canvas exists at a time. The state is made at program start and never destroyed, so the
// window thread can still be closing while the process ends. Threads: the program's thread makes
// every library call; the window thread creates and releases the pages, palette and device
// contexts (in the creation and destruction handlers) and paints the window from the page on
// show. Painting, drawing and palette changes are serialised by the canvas lock; the comment on
// each field says who writes it.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "lumivex/lumivex.h"
#include "platform/raster/bitmap.h"
#include "platform/raster/device_context.h"
#include "platform/raster/palette.h"
#include "platform/reentrant_lock.h"
#include "platform/window_system.h"

namespace lumivex {

inline constexpr int kPageCount = 4;
inline constexpr int kFontSlots = 15;
inline constexpr size_t kFontNameLength = 31;
inline constexpr size_t kTitleLength = 255;

struct CanvasState {
  // Open flag: set by the window thread at the end of window creation (release), cleared by
  // CloseCanvas on the program's thread.
  std::atomic<bool> open{false};

  // Written by OpenCanvas before the window thread starts; palette_mode is cleared by the window
  // thread at window destruction, while the program's thread waits in CloseCanvas.
  bool palette_mode = false;
  int16_t driver = -1;
  int16_t mode = 0;
  int32_t screen_width = 0;
  int32_t screen_height = 0;
  WindowPlacement placement;
  uint8_t bits_per_pixel = 0;
  uint16_t palette_size = 0;
  std::string title;

  // The window thread and the window it owns. `window` is written by the window thread before
  // the open flag is set and read by the program's thread after seeing the flag.
  std::thread window_thread;
  std::atomic<bool> window_thread_running{false};
  Window* window = nullptr;

  // Recorded at window creation; outlive the canvas.
  int32_t max_x = 0;
  int32_t max_y = 0;

  // Made at window creation, released at destruction (window thread); used under the lock.
  ReentrantLock lock;
  DeviceContext window_dc;
  DeviceContext page_dc;
  LogicalPalette palette;
  std::array<std::unique_ptr<Bitmap>, kPageCount> pages;
  std::array<uint32_t, 256> colour_table{};  // the library's copy of the page colours

  // Page choice (program's thread, under the lock; painting reads them under the lock).
  uint16_t draw_page = 0;
  uint16_t show_page = 0;
  bool mirror = false;

  // ReadPixel's answer for each pixel value of the draw page in palette mode: the palette entry
  // nearest to the value's colour. Made on demand; any change of the draw page's colour table or
  // of the palette invalidates it (program's thread).
  std::array<uint8_t, 256> readback{};
  bool readback_valid = false;

  // Palette bookkeeping (program's thread): the entry count n of the last InstallPalette, and
  // n - 1 when n is a power of two so the device colour needs no division.
  uint32_t entry_count = 256;
  uint32_t entry_mask = 255;
  bool entry_count_is_power_of_two = true;

  // Drawing state (program's thread).
  DrawingState drawing{};
  bool has_clip_region = false;
  bool has_pattern_bitmap = false;
  PatternBitmap pattern;  // under the lock: brushes point at it
  std::array<std::string, kFontSlots> font_slots;

  // Window registry: the live window's queue, for input injected from other threads.
  // Guarded by registry_mutex; written by the window thread at creation and destruction.
  std::mutex registry_mutex;
  std::shared_ptr<MessageQueue> live_queue;
  Window* live_window = nullptr;
};

// The one canvas state, made at program start.
extern CanvasState* g_canvas;
inline CanvasState& Canvas() {
  return *g_canvas;
}

// The status of the last library call. Written by the program's thread, and by the window thread
// while the program's thread waits for it (window creation failure, thread end).
extern std::atomic<int16_t> g_status;
inline void SetStatus(int16_t status) {
  g_status.store(status, std::memory_order_relaxed);
}

// Sets the status to 0 and answers true when a canvas is open; otherwise sets -1.
inline bool BeginOperation() {
  if (!Canvas().open.load(std::memory_order_relaxed)) {
    SetStatus(kStatusNotOpen);
    return false;
  }
  SetStatus(kStatusOk);
  return true;
}

// The device colour of a colour value: a palette-index reference to (colour mod n) in palette
// mode, the RGB value itself in true colour.
inline ColourRef DeviceColour(Colour colour) {
  const CanvasState& canvas = Canvas();
  if (!canvas.palette_mode) return colour;
  const uint32_t index = canvas.entry_count_is_power_of_two ? (colour & canvas.entry_mask)
                                                            : (colour % canvas.entry_count);
  return PaletteIndexRef(index);
}

// A viewport-relative coordinate as a device coordinate: origin + value in 16-bit arithmetic.
inline int16_t DeviceX(int16_t x) {
  return static_cast<int16_t>(static_cast<uint16_t>(Canvas().drawing.origin_x) +
                              static_cast<uint16_t>(x));
}
inline int16_t DeviceY(int16_t y) {
  return static_cast<int16_t>(static_cast<uint16_t>(Canvas().drawing.origin_y) +
                              static_cast<uint16_t>(y));
}

// Runs a drawing step on both device contexts: the window's first when the draw page is on show.
template <typename Draw>
inline void DrawMirrored(CanvasState& canvas, Draw&& draw) {
  if (canvas.mirror) draw(canvas.window_dc);
  draw(canvas.page_dc);
}

// Internal steps shared between the canvas parts.
void FillFontTable();              // drawing state: the four default faces, during OpenCanvas
void CreatePages();                // pages: at window creation, on the window thread
void ReleasePages();               // pages: at window destruction, on the window thread
void PaintWindow(Window* window);  // pages: the paint message, on the window thread
void ResetDrawingObjects();        // drawing state: marks the clip region and pattern absent
void MapPredefinedColours();       // pages: predefined colours to their nearest palette entries
void SetPredefinedColoursToRgb();

// Predefined colours, written at opening.
extern Colour g_predefined_colours[256];

// The default palette and the named-colour table, RGB values with red in the low byte.
extern const uint32_t kDefaultPaletteRgb[256];
extern const uint32_t kNamedColourRgb[256];

}  // namespace lumivex
