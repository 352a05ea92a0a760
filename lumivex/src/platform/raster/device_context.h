// Software device contexts: what a drawing call needs to know about where and how it draws.
//
// A device context has a bitmap selected (a page, or the window surface), a logical palette for
// resolving palette-index colours, a pen, a brush, a raster operation, a background mode and
// colour, a text colour and font settings, a current position and an optional clip rectangle.
// Drawing is clipped once per primitive to the clip rectangle and the bitmap. Pixels and fills
// are plain copies; the raster operation applies to pen drawing (lines and arcs). Nothing here
// locks: the canvas lock, held by the caller, serialises the window thread's painting with the
// program thread's drawing.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/raster/bitmap.h"
#include "platform/raster/colour_ref.h"
#include "platform/raster/palette.h"
#include "platform/raster/raster_op.h"

namespace lumivex {

enum class PenStyle : uint8_t { kSolid, kDash, kDot, kDashDot, kDashDotDot, kNull };

struct Pen {
  PenStyle style = PenStyle::kSolid;
  uint32_t width = 1;  // 0 and 1 both draw one-pixel lines
  ColourRef colour = 0;
};

// The on and off runs of a one-pixel pen, one bit per pixel along the line (bit 0 first), in a
// period of `length` pixels: dash 18 on, 6 off; dot 3 on, 3 off; dash-dot 9, 6, 3, 6; dash-dot-dot
// 9, 3, 3, 3, 3, 3. Solid and null pens have no gaps.
struct DashPattern {
  uint32_t bits;
  uint32_t length;
};

inline constexpr DashPattern DashPatternOf(PenStyle style) {
  switch (style) {
    case PenStyle::kDash:
      return {0x0003FFFFu, 24};
    case PenStyle::kDot:
      return {0x07u, 6};
    case PenStyle::kDashDot:
      return {0x000381FFu, 24};
    case PenStyle::kDashDotDot:
      return {0x001C71FFu, 24};
    case PenStyle::kSolid:
    case PenStyle::kNull:
      break;
  }
  return {0xFFFFFFFFu, 1};
}

enum class BrushStyle : uint8_t { kSolid, kHatched, kPattern, kNull };

// Hatches, anchored to device (0, 0): within each 8x8 cell the horizontal line is row 0, the
// vertical line column 0, the falling diagonal (\) the cells with x = y and the rising diagonal
// (/) the cells with x + y = 7.
enum class HatchStyle : uint8_t {
  kHorizontal = 0,
  kVertical = 1,
  kFallingDiagonal = 2,
  kRisingDiagonal = 3,
  kCross = 4,
  kDiagonalCross = 5,
};

// The 8x8 fill pattern, painted once: for each pixel the page value (index or RGB) and the RGB
// the window surface shows.
struct PatternBitmap {
  std::array<uint32_t, 64> page_value{};
  std::array<uint32_t, 64> rgb{};
};

struct Brush {
  BrushStyle style = BrushStyle::kSolid;
  HatchStyle hatch = HatchStyle::kHorizontal;
  ColourRef colour = 0;
  const PatternBitmap* pattern = nullptr;  // owned by the canvas; kPattern only
};

enum class BackgroundMode : uint8_t { kTransparent = 1, kOpaque = 2 };

// A font description; the library keeps it with the text settings, nothing draws text yet.
struct FontDescription {
  int32_t height = 0;
  int32_t escapement = 0;  // tenths of a degree
  int32_t weight = 400;
  bool italic = false;
  bool underline = false;
  std::string face;
};

struct TextLayout {
  uint32_t align = 0;
  int32_t character_extra = 0;
  int32_t break_extra = 0;
};

class DeviceContext {
 public:
  Bitmap* SelectBitmap(Bitmap* bitmap) {
    Bitmap* previous = bitmap_;
    bitmap_ = bitmap;
    UpdateClipBounds();
    return previous;
  }
  Bitmap* bitmap() const { return bitmap_; }

  void SelectPalette(const LogicalPalette* palette) { palette_ = palette; }
  const LogicalPalette* palette() const { return palette_; }

  void SetPen(const Pen& pen) { pen_ = pen; }
  const Pen& pen() const { return pen_; }
  void SetBrush(const Brush& brush) { brush_ = brush; }
  const Brush& brush() const { return brush_; }
  void SetFont(const FontDescription& font) { font_ = font; }
  const FontDescription& font() const { return font_; }

  void SetRasterOp(RasterOp op) { raster_op_ = op; }
  RasterOp raster_op() const { return raster_op_; }
  void SetBackgroundMode(BackgroundMode mode) { background_mode_ = mode; }
  BackgroundMode background_mode() const { return background_mode_; }
  void SetBackColour(ColourRef colour) { back_colour_ = colour; }
  ColourRef back_colour() const { return back_colour_; }
  void SetTextColour(ColourRef colour) { text_colour_ = colour; }
  ColourRef text_colour() const { return text_colour_; }
  TextLayout& text_layout() { return text_layout_; }
  const TextLayout& text_layout() const { return text_layout_; }

  void MoveTo(int32_t x, int32_t y) {
    position_x_ = x;
    position_y_ = y;
  }
  int32_t position_x() const { return position_x_; }
  int32_t position_y() const { return position_y_; }

  // Limits drawing to a rectangle (exclusive right and bottom), or lifts the limit.
  void SetClip(const Rect& clip) {
    has_clip_ = true;
    clip_ = clip;
    UpdateClipBounds();
  }
  void RemoveClip() {
    has_clip_ = false;
    UpdateClipBounds();
  }
  bool has_clip() const { return has_clip_; }
  const Rect& clip() const { return clip_; }
  // Where drawing can land: the bitmap, cut by the clip rectangle.
  const Rect& clip_bounds() const { return clip_bounds_; }

  // The value a colour reference takes in the selected bitmap: an index for an indexed bitmap,
  // an RGB value otherwise.
  uint32_t PixelValue(ColourRef colour) const {
    if (bitmap_->format() == PixelFormat::kIndexed8) {
      if (IsPaletteIndexRef(colour)) {
        const uint32_t i = PaletteIndexOf(colour);
        return i < static_cast<uint32_t>(bitmap_->colour_count()) ? i : 0;
      }
      return bitmap_->NearestIndex(colour);
    }
    return RgbOf(colour);
  }

  // The RGB value of a colour reference.
  uint32_t RgbOf(ColourRef colour) const {
    if (IsPaletteIndexRef(colour)) {
      const uint32_t i = PaletteIndexOf(colour);
      return palette_ != nullptr && i < static_cast<uint32_t>(palette_->count())
                 ? palette_->entry(static_cast<int>(i))
                 : 0;
    }
    return colour & kRgbMask;
  }

  // Sets one pixel as a plain copy; points outside the clip bounds are dropped.
  void SetPixel(int32_t x, int32_t y, ColourRef colour) {
    if (!clip_bounds_.Contains(x, y)) return;
    StorePixelValue(x, y, PixelValue(colour));
  }

  // Stores a value made by PixelValue at a point known to lie within the clip bounds.
  void StorePixelValue(int32_t x, int32_t y, uint32_t value) {
    if (bitmap_->format() == PixelFormat::kIndexed8) {
      bitmap_->Row8(y)[x] = static_cast<uint8_t>(value);
    } else {
      bitmap_->Row32(y)[x] = value;
      bitmap_->MarkChanged();
    }
  }

  // The RGB value of a pixel, or kInvalidColour outside the clip bounds.
  ColourRef GetPixel(int32_t x, int32_t y) const {
    if (bitmap_ == nullptr || !clip_bounds_.Contains(x, y)) return kInvalidColour;
    return bitmap_->RgbAt(x, y);
  }

  // Fills a rectangle (exclusive right and bottom) with the brush, as a plain copy whatever the
  // raster operation. Hatch gaps take the back colour in opaque mode only.
  void FillRect(const Rect& rect);

  // Draws a line with the pen from the current position to (x, y), which becomes the current
  // position. A one-pixel pen (width 0 or 1) lights the points of DigitalLine: the start point
  // but not the end point. Its dashes start afresh at the start point of every line (the style
  // does not carry over from one call to the next), and its gaps take the back colour in opaque
  // mode, combined by the raster operation like the dashes; in transparent mode they are left.
  // A wider pen draws solid whatever its style: every pixel whose centre lies within width / 2 of
  // the segment (round ends that reach past both end points). The null pen draws nothing.
  void LineTo(int32_t x, int32_t y);

  // Draws, with the pen, the part of the ellipse inscribed in box (exclusive right and bottom:
  // the ellipse spans columns left..right-1 and rows top..bottom-1) that runs counterclockwise on
  // the screen from the ray through the start point to the ray through the end point, both end
  // pixels included. When the two points coincide, or lie on the same ray, the whole ellipse is
  // drawn. A point at the centre stands for the ray to the right. Dashes start at the start ray.
  // The current position is neither used nor changed. A wider pen draws a solid band of that
  // width centred on the curve, with round ends.
  void Arc(const Rect& box, int32_t start_x, int32_t start_y, int32_t end_x, int32_t end_y);

 private:
  void UpdateClipBounds() {
    clip_bounds_ = bitmap_ == nullptr ? Rect{} : bitmap_->bounds();
    if (has_clip_) clip_bounds_ = clip_bounds_.Intersect(clip_);
  }

  Bitmap* bitmap_ = nullptr;
  const LogicalPalette* palette_ = nullptr;
  Pen pen_;
  Brush brush_;
  FontDescription font_;
  RasterOp raster_op_ = RasterOp::kCopyPen;
  BackgroundMode background_mode_ = BackgroundMode::kOpaque;
  ColourRef back_colour_ = 0x00FFFFFF;
  ColourRef text_colour_ = 0;
  TextLayout text_layout_;
  int32_t position_x_ = 0;
  int32_t position_y_ = 0;
  bool has_clip_ = false;
  Rect clip_{};
  Rect clip_bounds_{};
};

}  // namespace lumivex
