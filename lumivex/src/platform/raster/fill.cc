// Rectangle fills with solid, hatched and pattern brushes.
//
// The rectangle is clipped once; each row is then written as a span. Hatches and patterns are
// anchored to device (0, 0), so a row's 8-bit hatch mask depends only on y and is built once.
#include <algorithm>
#include <cstring>

#include "platform/raster/device_context.h"

namespace lumivex {

namespace {

// Bit x of the result is set where the hatch line lies in column x (mod 8) of row y (mod 8).
uint8_t HatchRowMask(HatchStyle hatch, int32_t y) {
  const int row = y & 7;
  const uint8_t falling = static_cast<uint8_t>(1u << row);
  const uint8_t rising = static_cast<uint8_t>(1u << (7 - row));
  switch (hatch) {
    case HatchStyle::kHorizontal:
      return row == 0 ? 0xFF : 0x00;
    case HatchStyle::kVertical:
      return 0x01;
    case HatchStyle::kCross:
      return row == 0 ? 0xFF : 0x01;
    case HatchStyle::kFallingDiagonal:
      return falling;
    case HatchStyle::kRisingDiagonal:
      return rising;
    case HatchStyle::kDiagonalCross:
      return falling | rising;
  }
  return 0;
}

template <typename Pixel>
void FillSolidRows(Bitmap& bitmap, const Rect& r, uint32_t value) {
  for (int32_t y = r.top; y < r.bottom; ++y) {
    Pixel* row = bitmap.Row<Pixel>(y);
    // Cells of a few pixels are common (the effects program fills 3 x 3 bars): a plain loop
    // beats a call to memset there.
    if (r.right - r.left <= 8) {
      for (int32_t x = r.left; x < r.right; ++x)
        row[x] = static_cast<Pixel>(value);
    } else {
      std::fill(row + r.left, row + r.right, static_cast<Pixel>(value));
    }
  }
}

template <typename Pixel>
void FillHatchRows(Bitmap& bitmap, const Rect& r, HatchStyle hatch, uint32_t line_value,
                   uint32_t gap_value, bool paint_gaps) {
  for (int32_t y = r.top; y < r.bottom; ++y) {
    Pixel* row = bitmap.Row<Pixel>(y);
    const uint8_t mask = HatchRowMask(hatch, y);
    for (int32_t x = r.left; x < r.right; ++x) {
      if ((mask >> (x & 7)) & 1) {
        row[x] = static_cast<Pixel>(line_value);
      } else if (paint_gaps) {
        row[x] = static_cast<Pixel>(gap_value);
      }
    }
  }
}

template <typename Pixel>
void FillPatternRows(Bitmap& bitmap, const Rect& r, const std::array<uint32_t, 64>& cell) {
  for (int32_t y = r.top; y < r.bottom; ++y) {
    Pixel* row = bitmap.Row<Pixel>(y);
    const uint32_t* cell_row = cell.data() + (y & 7) * 8;
    for (int32_t x = r.left; x < r.right; ++x)
      row[x] = static_cast<Pixel>(cell_row[x & 7]);
  }
}

template <typename Pixel>
void FillWithBrush(DeviceContext& dc, Bitmap& bitmap, const Rect& r) {
  const Brush& brush = dc.brush();
  switch (brush.style) {
    case BrushStyle::kSolid:
      FillSolidRows<Pixel>(bitmap, r, dc.PixelValue(brush.colour));
      break;
    case BrushStyle::kHatched:
      FillHatchRows<Pixel>(bitmap, r, brush.hatch, dc.PixelValue(brush.colour),
                           dc.PixelValue(dc.back_colour()),
                           dc.background_mode() == BackgroundMode::kOpaque);
      break;
    case BrushStyle::kPattern:
      if (brush.pattern == nullptr) break;
      if constexpr (sizeof(Pixel) == 1) {
        FillPatternRows<Pixel>(bitmap, r, brush.pattern->page_value);
      } else {
        FillPatternRows<Pixel>(bitmap, r, brush.pattern->rgb);
      }
      break;
    case BrushStyle::kNull:
      break;
  }
}

}  // namespace

void DeviceContext::FillRect(const Rect& rect) {
  if (bitmap_ == nullptr || brush_.style == BrushStyle::kNull) return;
  const Rect r = rect.Intersect(clip_bounds_);
  if (r.Empty()) return;
  if (bitmap_->format() == PixelFormat::kIndexed8) {
    FillWithBrush<uint8_t>(*this, *bitmap_, r);
  } else {
    FillWithBrush<uint32_t>(*this, *bitmap_, r);
    bitmap_->MarkChanged();
  }
}

}  // namespace lumivex
