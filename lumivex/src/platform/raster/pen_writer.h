// Pen pixel writers: how lines and arcs put their pixels into a bitmap.
//
// A writer is made once per primitive for one pixel format and one raster operation, so the loops
// that draw lines and arcs carry no per-pixel switch. Every pen pixel is combined with the
// destination by the raster operation: on indexed bitmaps the operation works on the index bits
// and the result is kept within the colour table (mask 1, 15 or 255); on RGB bitmaps it works on
// the RGB bits and the top byte stays 0. Callers pass points already inside the clip bounds.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "platform/raster/bitmap.h"
#include "platform/raster/raster_op.h"

namespace lumivex {

template <typename Pixel, RasterOp kOp>
class PenWriter {
 public:
  PenWriter(Bitmap& bitmap, uint32_t mask) : bitmap_(bitmap), mask_(mask) {}

  void Put(int32_t x, int32_t y, uint32_t value) const { Combine(Row(y) + x, value); }

  // Pixels left..right-1 of row y.
  void Span(int32_t y, int32_t left, int32_t right, uint32_t value) const {
    Pixel* row = Row(y);
    for (int32_t x = left; x < right; ++x)
      Combine(row + x, value);
  }

 private:
  Pixel* Row(int32_t y) const { return bitmap_.Row<Pixel>(y); }
  void Combine(Pixel* p, uint32_t value) const {
    *p = static_cast<Pixel>(ApplyRasterOp(kOp, value, *p) & mask_);
  }

  Bitmap& bitmap_;
  uint32_t mask_;
};

// Pixels whose centres lie in a real interval [lo, hi] of a row, taken half-open as filled
// shapes are (lo <= x < hi, so a band of width w covers w pixels), and cut to [left, right).
struct PixelSpan {
  int32_t left = 0;
  int32_t right = 0;
  bool Empty() const { return right <= left; }
};

inline PixelSpan SpanOf(double lo, double hi, int32_t left, int32_t right) {
  if (!(lo <= hi)) return PixelSpan{};
  const double first = std::ceil(std::max(lo, static_cast<double>(left)));
  const double end = std::ceil(std::min(hi, static_cast<double>(right)));
  return first < end ? PixelSpan{static_cast<int32_t>(first), static_cast<int32_t>(end)}
                     : PixelSpan{};
}

namespace pen_writer_detail {

template <typename Pixel, uint8_t kCode, typename Body>
void Dispatch(Bitmap& bitmap, uint32_t mask, RasterOp op, Body& body) {
  if constexpr (kCode <= static_cast<uint8_t>(RasterOp::kWhite)) {
    if (static_cast<uint8_t>(op) == kCode) {
      body(PenWriter<Pixel, static_cast<RasterOp>(kCode)>(bitmap, mask));
    } else {
      Dispatch<Pixel, kCode + 1>(bitmap, mask, op, body);
    }
  }
}

}  // namespace pen_writer_detail

// Calls body(writer) with the writer for the bitmap's pixel format and the raster operation, and
// marks an RGB bitmap changed. Pixel values are those DeviceContext::PixelValue makes.
template <typename Body>
void WithPenWriter(Bitmap& bitmap, RasterOp op, Body&& body) {
  if (bitmap.format() == PixelFormat::kIndexed8) {
    pen_writer_detail::Dispatch<uint8_t, 1>(bitmap, bitmap.index_mask(), op, body);
  } else {
    pen_writer_detail::Dispatch<uint32_t, 1>(bitmap, kRgbMask, op, body);
    bitmap.MarkChanged();
  }
}

}  // namespace lumivex
