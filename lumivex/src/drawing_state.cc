// The drawing state: viewport and clipping, the current position, colours, pen, brush, fill
// pattern, write mode, aspect ratio, text settings, the filled bar and the clearing operations,
// and the defaults every opening starts from.
//
// Settings go to both device contexts, the window's first, so that drawing mirrored into the
// window looks as it does on the page. Pens, brushes and fonts are plain values here: replacing
// one allocates nothing.
#include <utility>

#include "canvas_state.h"

namespace lumivex {

namespace {

template <typename Apply>
void ApplyToBothContexts(CanvasState& canvas, Apply&& apply) {
  apply(canvas.window_dc);
  apply(canvas.page_dc);
}

// Pen styles of line styles 0..6; styles 5 and 6 draw nothing with the pen.
constexpr PenStyle kPenStyles[7] = {PenStyle::kSolid, PenStyle::kDot,        PenStyle::kDashDot,
                                    PenStyle::kDash,  PenStyle::kDashDotDot, PenStyle::kNull,
                                    PenStyle::kNull};

// Raster operations of write modes 0..15.
constexpr RasterOp kRasterOps[16] = {
    RasterOp::kCopyPen,     RasterOp::kXorPen,     RasterOp::kMergePen,    RasterOp::kMaskPen,
    RasterOp::kNotCopyPen,  RasterOp::kNot,        RasterOp::kNotXorPen,   RasterOp::kNotMergePen,
    RasterOp::kNotMaskPen,  RasterOp::kMaskNotPen, RasterOp::kMergeNotPen, RasterOp::kMaskPenNot,
    RasterOp::kMergePenNot, RasterOp::kBlack,      RasterOp::kWhite,       RasterOp::kNop,
};

// Text alignment flags: left 0, centre 6, right 2; top 0, bottom 8, baseline 24; update the
// current position 1.
constexpr uint32_t kHorizontalAlign[3] = {0, 6, 2};
constexpr uint32_t kVerticalAlign[3] = {0, 8, 24};
constexpr uint32_t kAlignUpdatesPosition = 1;

}  // namespace

void ResetDrawingObjects() {
  CanvasState& canvas = Canvas();
  canvas.has_clip_region = false;
  canvas.has_pattern_bitmap = false;
}

}  // namespace lumivex

using namespace lumivex;

int16_t MaxX() {
  return static_cast<int16_t>(Canvas().max_x);
}
int16_t MaxY() {
  return static_cast<int16_t>(Canvas().max_y);
}

const DrawingState& CurrentDrawingState() {
  return Canvas().drawing;
}

void SetView(int16_t x1, int16_t y1, int16_t x2, int16_t y2, bool clip) {
  if (!BeginOperation()) return;
  CanvasState& canvas = Canvas();
  if (x1 > x2 || y1 > y2) {
    SetStatus(kStatusOutOfRange);
    return;
  }
  DrawingState& d = canvas.drawing;
  d.view_x1 = x1;
  d.view_y1 = y1;
  d.view_x2 = x2;
  d.view_y2 = y2;
  d.view_clip = clip;
  d.view_width = static_cast<int16_t>(x2 - x1);
  d.view_height = static_cast<int16_t>(y2 - y1);
  d.origin_x = x1;
  d.origin_y = y1;
  MovePen(0, 0);
  std::lock_guard<ReentrantLock> hold(canvas.lock);
  if (canvas.has_clip_region) {
    ApplyToBothContexts(canvas, [](DeviceContext& dc) { dc.RemoveClip(); });
    canvas.has_clip_region = false;
  }
  if (clip) {
    // The viewport, inclusive: right and bottom one past it.
    const Rect region{x1, y1, static_cast<int32_t>(x2) + 1, static_cast<int32_t>(y2) + 1};
    ApplyToBothContexts(canvas, [&](DeviceContext& dc) { dc.SetClip(region); });
    canvas.has_clip_region = true;
  }
}

void ClearView() {
  MovePen(0, 0);
  if (CanvasStatus() != kStatusOk) return;
  const DrawingState& d = Canvas().drawing;
  const int16_t style = d.fill_style;
  const Colour colour = d.fill_colour;
  SetFillStyle(1, d.back_colour);
  FillBar(0, 0, d.view_width, d.view_height);
  SetFillStyle(style, colour);
}

void ClearCanvas() {
  const DrawingState& d = Canvas().drawing;
  const int16_t x1 = d.view_x1, y1 = d.view_y1, x2 = d.view_x2, y2 = d.view_y2;
  const bool clip = d.view_clip;
  SetView(0, 0, MaxX(), MaxY(), false);
  ClearView();
  SetView(x1, y1, x2, y2, clip);
}

void MovePen(int16_t x, int16_t y) {
  if (!BeginOperation()) return;
  CanvasState& canvas = Canvas();
  canvas.drawing.current_x = x;
  canvas.drawing.current_y = y;
  const int32_t device_x = DeviceX(x), device_y = DeviceY(y);
  ApplyToBothContexts(canvas, [&](DeviceContext& dc) { dc.MoveTo(device_x, device_y); });
}

void SetPenColour(Colour colour) {
  CanvasState& canvas = Canvas();
  canvas.drawing.pen_colour = colour;
  const DrawingState& d = canvas.drawing;
  SetLineStyle(d.line_style, d.line_pattern, d.line_thickness);
  if (CanvasStatus() != kStatusOk) return;
  const ColourRef text = DeviceColour(colour);
  ApplyToBothContexts(canvas, [&](DeviceContext& dc) { dc.SetTextColour(text); });
}

void SetBackColour(Colour colour) {
  if (!BeginOperation()) return;
  CanvasState& canvas = Canvas();
  canvas.drawing.back_colour = colour;
  const ColourRef back = DeviceColour(colour);
  ApplyToBothContexts(canvas, [&](DeviceContext& dc) { dc.SetBackColour(back); });
}

void SetLineStyle(uint16_t style, uint16_t pattern, uint16_t thickness) {
  if (!BeginOperation()) return;
  CanvasState& canvas = Canvas();
  if (style > 6) {
    SetStatus(kStatusOutOfRange);
    return;
  }
  DrawingState& d = canvas.drawing;
  d.line_style = style;
  d.line_pattern = pattern;
  d.line_thickness = thickness;
  const Pen pen{kPenStyles[style], thickness, DeviceColour(d.pen_colour)};
  std::lock_guard<ReentrantLock> hold(canvas.lock);
  ApplyToBothContexts(canvas, [&](DeviceContext& dc) { dc.SetPen(pen); });
}

void SetFillStyle(int16_t style, Colour colour) {
  if (!BeginOperation()) return;
  CanvasState& canvas = Canvas();
  if (style < 0 || style > 9) {
    SetStatus(kStatusOutOfRange);
    return;
  }
  DrawingState& d = canvas.drawing;
  d.fill_style = style;
  d.fill_colour = style == 0 ? d.back_colour : colour;
  Brush brush;
  brush.colour = DeviceColour(d.fill_colour);
  if (style == 0 || style == 1) {
    brush.style = BrushStyle::kSolid;
  } else if (style <= 7) {
    static constexpr HatchStyle kHatches[6] = {
        HatchStyle::kHorizontal,     HatchStyle::kVertical,        HatchStyle::kCross,
        HatchStyle::kRisingDiagonal, HatchStyle::kFallingDiagonal, HatchStyle::kDiagonalCross};
    brush.style = BrushStyle::kHatched;
    brush.hatch = kHatches[style - 2];
  } else if (style == 8) {
    brush.style = BrushStyle::kPattern;
    brush.pattern = canvas.has_pattern_bitmap ? &canvas.pattern : nullptr;
  } else {
    brush.style = BrushStyle::kNull;
  }
  std::lock_guard<ReentrantLock> hold(canvas.lock);
  ApplyToBothContexts(canvas, [&](DeviceContext& dc) { dc.SetBrush(brush); });
}

void SetFillPattern(const uint8_t (&pattern)[8], Colour colour) {
  if (!BeginOperation()) return;
  CanvasState& canvas = Canvas();
  std::copy(std::begin(pattern), std::end(pattern), canvas.drawing.fill_pattern);
  const ColourRef fill = DeviceColour(colour);
  const ColourRef background = DeviceColour(canvas.drawing.back_colour);
  {
    std::lock_guard<ReentrantLock> hold(canvas.lock);
    // Painted once, in the page's pixel values and in the RGB the window shows.
    const uint32_t page_fill = canvas.page_dc.PixelValue(fill);
    const uint32_t page_background = canvas.page_dc.PixelValue(background);
    const uint32_t rgb_fill = canvas.window_dc.RgbOf(fill);
    const uint32_t rgb_background = canvas.window_dc.RgbOf(background);
    for (int r = 0; r < 8; ++r) {
      for (int c = 0; c < 8; ++c) {
        const bool set = (pattern[r] >> (7 - c)) & 1;
        canvas.pattern.page_value[r * 8 + c] = set ? page_fill : page_background;
        canvas.pattern.rgb[r * 8 + c] = set ? rgb_fill : rgb_background;
      }
    }
    canvas.has_pattern_bitmap = true;
  }
  SetFillStyle(8, colour);
}

void SetWriteMode(int16_t mode) {
  if (!BeginOperation()) return;
  CanvasState& canvas = Canvas();
  const int r = mode % 16;
  const int q = mode - r;
  if (r < 0 || (q != 0 && q != 16)) {
    SetStatus(kStatusOutOfRange);
    return;
  }
  const RasterOp op = kRasterOps[r];
  const BackgroundMode background = q == 0 ? BackgroundMode::kTransparent : BackgroundMode::kOpaque;
  std::lock_guard<ReentrantLock> hold(canvas.lock);
  ApplyToBothContexts(canvas, [&](DeviceContext& dc) {
    dc.SetRasterOp(op);
    dc.SetBackgroundMode(background);
  });
}

void SetAspectRatio(uint16_t x, uint16_t y) {
  DrawingState& d = Canvas().drawing;
  d.aspect_x = x;
  d.aspect_y = y;
  d.neutral_aspect = x == 10000 && y == 10000;
}

void FillBar(int16_t x1, int16_t y1, int16_t x2, int16_t y2) {
  if (!BeginOperation()) return;
  CanvasState& canvas = Canvas();
  if (x1 > x2) std::swap(x1, x2);
  if (y1 > y2) std::swap(y1, y2);
  const Rect rect{DeviceX(x1), DeviceY(y1), static_cast<int32_t>(DeviceX(x2)) + 1,
                  static_cast<int32_t>(DeviceY(y2)) + 1};
  std::lock_guard<ReentrantLock> hold(canvas.lock);
  DrawMirrored(canvas, [&](DeviceContext& dc) { dc.FillRect(rect); });
}

void SetTextStyle(uint16_t font, uint16_t direction, uint16_t size) {
  if (!BeginOperation()) return;
  CanvasState& canvas = Canvas();
  const int slot = font & 0x0F;
  if (slot == 15 || canvas.font_slots[slot].empty()) {
    SetStatus(kStatusEmptyFontSlot);
    return;
  }
  DrawingState& d = canvas.drawing;
  d.font_word = font;
  d.text_direction = direction;
  d.text_size = size;
  FontDescription description;
  description.height = size <= 5 ? size * 8 : size;
  description.escapement = static_cast<int32_t>(direction) * 10;
  description.weight = 400 + 300 * ((font >> 4) & 0x0F);
  description.underline = ((font >> 8) & 0x0F) != 0;
  description.italic = ((font >> 12) & 0x0F) != 0;
  description.face = canvas.font_slots[slot];
  std::lock_guard<ReentrantLock> hold(canvas.lock);
  ApplyToBothContexts(canvas, [&](DeviceContext& dc) { dc.SetFont(description); });
}

void SetTextJustify(uint16_t horizontal, uint16_t vertical) {
  if (!BeginOperation()) return;
  CanvasState& canvas = Canvas();
  if (horizontal > 2 || vertical > 2) {
    SetStatus(kStatusOutOfRange);
    return;
  }
  canvas.drawing.text_horizontal = horizontal;
  canvas.drawing.text_vertical = vertical;
  const uint32_t align =
      kHorizontalAlign[horizontal] | kVerticalAlign[vertical] | kAlignUpdatesPosition;
  ApplyToBothContexts(canvas, [&](DeviceContext& dc) { dc.text_layout().align = align; });
}

void SetTextSpacing(uint16_t extra, uint16_t break_extra, uint16_t, uint16_t) {
  if (!BeginOperation()) return;
  ApplyToBothContexts(Canvas(), [&](DeviceContext& dc) {
    dc.text_layout().character_extra = extra;
    dc.text_layout().break_extra = break_extra;
  });
}

void CanvasDefaults() {
  CanvasState& canvas = Canvas();
  if (canvas.palette_mode) {
    PaletteRecord record;
    GetDefaultPalette(record);
    InstallPalette(record);
  } else {
    SetPredefinedColoursToRgb();
  }
  DrawingState& d = canvas.drawing;
  d.line_style = 0;
  d.line_pattern = 0;
  d.line_thickness = 1;
  SetPenColour(PredefinedColours[250]);
  SetBackColour(PredefinedColours[12]);
  static constexpr uint8_t kSolidPattern[8] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
  SetFillPattern(kSolidPattern, PredefinedColours[250]);
  SetFillStyle(1, PredefinedColours[250]);
  SetTextStyle(0, 0, 16);
  SetTextJustify(0, 0);
  SetTextSpacing(0, 0, 0, 0);
  SetView(0, 0, MaxX(), MaxY(), false);
  SetWriteMode(0);
  SetAspectRatio(10000, 10000);
}
