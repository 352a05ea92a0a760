// Pages, palette and pixels: the four pages, the draw page and the page on show, painting the
// window from a page, the logical palette with the library's colour table, and the pixel
// operations.
#include <algorithm>
#include <cstring>

#include "canvas_state.h"
#include "platform/backends/backend.h"
#include "platform/window_system.h"
#include "script.h"

namespace lumivex {

Colour g_predefined_colours[256] = {};

void CreatePages() {
  CanvasState& canvas = Canvas();
  const int32_t width = canvas.max_x + 1;
  const int32_t height = canvas.max_y + 1;
  for (auto& page : canvas.pages) {
    page = canvas.palette_mode ? std::make_unique<Bitmap>(width, height, PixelFormat::kIndexed8,
                                                          canvas.palette_size)
                               : std::make_unique<Bitmap>(width, height, PixelFormat::kRgb32);
  }
  canvas.colour_table.fill(0);
}

void ReleasePages() {
  CanvasState& canvas = Canvas();
  canvas.page_dc.SelectBitmap(nullptr);
  for (auto& page : canvas.pages)
    page.reset();
  canvas.colour_table.fill(0);
}

namespace {

// Copies a rectangle of a page into the window surface, through the page's colour table.
void CopyPageToSurface(const Bitmap& page, Bitmap& surface, const Rect& area) {
  const Rect r = area.Intersect(page.bounds()).Intersect(surface.bounds());
  if (r.Empty()) return;
  if (page.format() == PixelFormat::kIndexed8) {
    const std::array<uint32_t, 256>& table = page.colour_table();
    for (int32_t y = r.top; y < r.bottom; ++y) {
      const uint8_t* source = page.Row8(y);
      uint32_t* target = surface.Row32(y);
      for (int32_t x = r.left; x < r.right; ++x)
        target[x] = table[source[x]];
    }
  } else {
    for (int32_t y = r.top; y < r.bottom; ++y) {
      std::memcpy(surface.Row32(y) + r.left, page.Row32(y) + r.left,
                  static_cast<size_t>(r.right - r.left) * sizeof(uint32_t));
    }
  }
  surface.MarkChanged();
}

void RefreshDrawPageColourTable(CanvasState& canvas) {
  Bitmap& page = *canvas.pages[canvas.draw_page];
  for (int i = 0; i < canvas.palette_size; ++i) {
    page.set_colour_table(i, canvas.colour_table[i]);
  }
  canvas.readback_valid = false;
}

void BuildReadback(CanvasState& canvas) {
  const Bitmap& page = *canvas.pages[canvas.draw_page];
  for (int i = 0; i < page.colour_count(); ++i) {
    canvas.readback[i] = static_cast<uint8_t>(canvas.palette.Nearest(page.colour_table(i)));
  }
  canvas.readback_valid = true;
}

}  // namespace

void PaintWindow(Window* window) {
  CanvasState& canvas = Canvas();
  if (window->queue().UpdateArea(window).Empty()) return;
  {
    std::lock_guard<ReentrantLock> hold(canvas.lock);
    const Rect area = window->queue().TakeUpdateArea(window);
    const Bitmap* page = canvas.pages[canvas.show_page].get();
    if (page != nullptr) CopyPageToSurface(*page, window->surface(), area);
  }
  Backend().SurfaceChanged(*window);
}

void MapPredefinedColours() {
  CanvasState& canvas = Canvas();
  for (int i = 0; i < 256; ++i) {
    g_predefined_colours[i] = static_cast<Colour>(canvas.palette.Nearest(kNamedColourRgb[i]));
  }
}

void SetPredefinedColoursToRgb() {
  std::copy(std::begin(kNamedColourRgb), std::end(kNamedColourRgb), g_predefined_colours);
}

}  // namespace lumivex

using namespace lumivex;

const Colour (&PredefinedColours)[256] = g_predefined_colours;

void SetDrawPage(uint16_t page) {
  if (!BeginOperation()) return;
  CanvasState& canvas = Canvas();
  if (page >= kPageCount) page = 0;
  std::lock_guard<ReentrantLock> hold(canvas.lock);
  canvas.draw_page = page;
  canvas.page_dc.SelectBitmap(canvas.pages[page].get());
  if (canvas.palette_mode) RefreshDrawPageColourTable(canvas);
  canvas.mirror = canvas.draw_page == canvas.show_page;
}

void SetShowPage(uint16_t page) {
  if (!BeginOperation()) return;
  CanvasState& canvas = Canvas();
  if (page >= kPageCount) page = 0;
  {
    std::lock_guard<ReentrantLock> hold(canvas.lock);
    canvas.show_page = page;
    canvas.mirror = canvas.draw_page == canvas.show_page;
  }
  InvalidateWindow(canvas.window);
  if (script::g_active.load(std::memory_order_relaxed)) script::OnShowPage();
}

namespace lumivex {
namespace {

// Sets a pixel of the draw page, and of the window when the page is on show. The caller holds
// the canvas lock.
inline void StorePixel(CanvasState& canvas, int32_t device_x, int32_t device_y, Colour colour) {
  // The page and the window surface have the same size and clip: one test serves both.
  if (!canvas.page_dc.clip_bounds().Contains(device_x, device_y)) return;
  Bitmap& page = *canvas.page_dc.bitmap();
  if (canvas.palette_mode) {
    // The device colour's entry (colour mod n) is the page's pixel value; the window shows the
    // entry's colour.
    const uint32_t index = canvas.entry_count_is_power_of_two ? (colour & canvas.entry_mask)
                                                              : (colour % canvas.entry_count);
    page.Row8(device_y)[device_x] = static_cast<uint8_t>(index);
    if (canvas.mirror) {
      Bitmap& surface = *canvas.window_dc.bitmap();
      surface.Row32(device_y)[device_x] = canvas.palette.entry(static_cast<int>(index));
      surface.MarkChanged();
    }
  } else {
    const uint32_t rgb = canvas.page_dc.RgbOf(colour);
    page.Row32(device_y)[device_x] = rgb;
    if (canvas.mirror) {
      Bitmap& surface = *canvas.window_dc.bitmap();
      surface.Row32(device_y)[device_x] = rgb;
      surface.MarkChanged();
    }
  }
}

// The way in for any thread and any state of the lock.
__attribute__((noinline)) void StorePixelLocked(CanvasState& canvas, int32_t device_x,
                                                int32_t device_y, Colour colour) {
  std::lock_guard<ReentrantLock> hold(canvas.lock);
  StorePixel(canvas, device_x, device_y, colour);
}

}  // namespace
}  // namespace lumivex

void PlotPixel(int16_t x, int16_t y, Colour colour) {
  CanvasState& canvas = Canvas();
  if (!canvas.open.load(std::memory_order_relaxed)) {
    SetStatus(kStatusNotOpen);
    return;
  }
  SetStatus(kStatusOk);
  const int32_t device_x = DeviceX(x);
  const int32_t device_y = DeviceY(y);
  // The program's thread takes the lock's cheap path without a call; anything else goes the
  // general way.
  if (!canvas.lock.TryLockBound()) {
    StorePixelLocked(canvas, device_x, device_y, colour);
    return;
  }
  StorePixel(canvas, device_x, device_y, colour);
  canvas.lock.UnlockBound();
}

Colour ReadPixel(int16_t x, int16_t y) {
  if (!BeginOperation()) return 0;
  CanvasState& canvas = Canvas();
  const int32_t device_x = static_cast<int32_t>(x) + canvas.drawing.origin_x;
  const int32_t device_y = static_cast<int32_t>(y) + canvas.drawing.origin_y;
  if (!canvas.palette_mode) {
    std::lock_guard<ReentrantLock> hold(canvas.lock);
    return canvas.page_dc.GetPixel(device_x, device_y);
  }
  // The nearest entry to the pixel's colour, looked up by its value.
  uint32_t value;
  {
    std::lock_guard<ReentrantLock> hold(canvas.lock);
    if (!canvas.page_dc.clip_bounds().Contains(device_x, device_y)) {
      return static_cast<Colour>(canvas.palette.Nearest(kInvalidColour));
    }
    value = canvas.page_dc.bitmap()->Row8(device_y)[device_x];
  }
  if (!canvas.readback_valid) BuildReadback(canvas);
  return canvas.readback[value];
}

Colour ColourFromRGB(uint16_t red, uint16_t green, uint16_t blue) {
  const uint32_t v = (static_cast<uint32_t>(red) & 0xFF) | (static_cast<uint32_t>(green) << 8) |
                     ((static_cast<uint32_t>(blue) & 0xFF) << 16);
  CanvasState& canvas = Canvas();
  if (canvas.palette_mode) return static_cast<Colour>(canvas.palette.Nearest(v));
  return v;
}

void SetPaletteRGB(uint16_t index, uint16_t red, uint16_t green, uint16_t blue) {
  if (!BeginOperation()) return;
  CanvasState& canvas = Canvas();
  if (!canvas.palette_mode) {
    SetStatus(kStatusNotPalette);
    return;
  }
  if (index >= canvas.entry_count) {
    SetStatus(kStatusOutOfRange);
    return;
  }
  const uint32_t rgb = MakeRgb(red, green, blue);
  canvas.colour_table[index] = rgb;
  {
    std::lock_guard<ReentrantLock> hold(canvas.lock);
    canvas.palette.SetEntry(index, rgb);
    canvas.pages[canvas.draw_page]->set_colour_table(index, rgb);
  }
  canvas.readback_valid = false;
  InvalidateWindow(canvas.window);
}

void GetDefaultPalette(PaletteRecord& record) {
  const CanvasState& canvas = Canvas();
  const int count = canvas.palette_mode ? canvas.palette_size : 256;
  record.count = static_cast<uint16_t>(count);
  for (int i = 0; i < count; ++i) {
    const uint32_t rgb = kDefaultPaletteRgb[i];
    record.entries[i] =
        PaletteEntry{static_cast<uint8_t>(RedOf(rgb)), static_cast<uint8_t>(GreenOf(rgb)),
                     static_cast<uint8_t>(BlueOf(rgb)), 0};
  }
  if (canvas.palette_mode && canvas.driver == 1) {
    record.entries[0] = PaletteEntry{0, 0, 0, 0};
    record.entries[1] = PaletteEntry{255, 255, 255, 0};
  }
}

void InstallPalette(const PaletteRecord& record) {
  if (!BeginOperation()) return;
  CanvasState& canvas = Canvas();
  if (!canvas.palette_mode) {
    SetStatus(kStatusNotPalette);
    return;
  }
  // A count of 0 would leave colour values nothing to be reduced modulo; it is refused.
  if (record.count > canvas.palette_size || record.count == 0) {
    SetStatus(kStatusOutOfRange);
    return;
  }
  const int count = record.count;
  for (int i = 0; i < count; ++i) {
    const PaletteEntry& e = record.entries[i];
    canvas.colour_table[i] = MakeRgb(e.red, e.green, e.blue);
  }
  for (int i = count; i < canvas.palette_size; ++i)
    canvas.colour_table[i] = canvas.colour_table[0];
  {
    std::lock_guard<ReentrantLock> hold(canvas.lock);
    canvas.palette.Assign(canvas.colour_table.data(), count);
    RefreshDrawPageColourTable(canvas);
    MapPredefinedColours();
  }
  InvalidateWindow(canvas.window);
  canvas.entry_count = static_cast<uint32_t>(count);
  canvas.entry_count_is_power_of_two = (count & (count - 1)) == 0;
  canvas.entry_mask = static_cast<uint32_t>(count - 1);
}
