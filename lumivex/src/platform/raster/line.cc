// Pen lines: one-pixel lines (solid or dashed) stepped along DigitalLine, and wide lines filled
// row by row as the shape a round pen sweeps along the segment.
//
// Both are clipped once, before any pixel is visited: the one-pixel line by point index, the wide
// line by rows and then by a span per row, so a line reaching far outside the canvas costs no
// more than the part of it that can land there.
#include <algorithm>
#include <cmath>

#include "platform/raster/device_context.h"
#include "platform/raster/line_walk.h"
#include "platform/raster/pen_writer.h"

namespace lumivex {

namespace {

// The values of t with lo <= slope * t + c <= hi.
struct Range {
  double lo, hi;
};
Range Solve(double slope, double c, double lo, double hi) {
  constexpr double kAll = 1e300;
  if (slope == 0) return lo <= c && c <= hi ? Range{-kAll, kAll} : Range{kAll, -kAll};
  const double a = (lo - c) / slope, b = (hi - c) / slope;
  return slope > 0 ? Range{a, b} : Range{b, a};
}

// The row of a solid band: the segment from (ax, ay) to (bx, by) widened by `half` on every side
// with round ends. Convex, so its row is one interval: the union of the two end discs' rows and
// the rectangle's row.
struct Capsule {
  double ax, ay, bx, by, half;

  Range Row(double y) const {
    Range row{1, -1};
    auto add = [&row](Range r) {
      if (!(r.lo <= r.hi)) return;
      if (!(row.lo <= row.hi)) {
        row = r;
      } else {
        row = Range{std::min(row.lo, r.lo), std::max(row.hi, r.hi)};
      }
    };
    for (const auto& [cx, cy] : {std::pair{ax, ay}, std::pair{bx, by}}) {
      const double dy = y - cy;
      if (dy * dy <= half * half) {
        const double chord = std::sqrt(half * half - dy * dy);
        add(Range{cx - chord, cx + chord});
      }
    }
    const double dx = bx - ax, dy = by - ay;
    const double length_squared = dx * dx + dy * dy;
    if (length_squared > 0) {
      // With t = x - ax: 0 <= (p - a).d <= |d|^2 and |d x (p - a)| <= half * |d|.
      const double q = y - ay;
      const double reach = half * std::sqrt(length_squared);
      const Range along = Solve(dx, q * dy, 0, length_squared);
      const Range across = Solve(-dy, dx * q, -reach, reach);
      add(Range{std::max(along.lo, across.lo) + ax, std::min(along.hi, across.hi) + ax});
    }
    return row;
  }
};

}  // namespace

void DeviceContext::LineTo(int32_t x, int32_t y) {
  const int32_t x0 = position_x_, y0 = position_y_;
  MoveTo(x, y);
  if (bitmap_ == nullptr || pen_.style == PenStyle::kNull || clip_bounds_.Empty()) return;
  const uint32_t pen = PixelValue(pen_.colour);

  if (pen_.width > 1) {
    const Capsule capsule{static_cast<double>(x0), static_cast<double>(y0), static_cast<double>(x),
                          static_cast<double>(y), pen_.width / 2.0};
    const double top = std::min(y0, y) - capsule.half, bottom = std::max(y0, y) + capsule.half;
    const PixelSpan rows = SpanOf(top, bottom, clip_bounds_.top, clip_bounds_.bottom);
    if (rows.Empty()) return;
    WithPenWriter(*bitmap_, raster_op_, [&](const auto& writer) {
      for (int32_t row = rows.left; row < rows.right; ++row) {
        const Range r = capsule.Row(row);
        const PixelSpan span = SpanOf(r.lo, r.hi, clip_bounds_.left, clip_bounds_.right);
        if (!span.Empty()) writer.Span(row, span.left, span.right, pen);
      }
    });
    return;
  }

  const DigitalLine line(x0, y0, x, y);
  const IndexRange visible = line.Within(clip_bounds_);
  if (visible.Empty()) return;
  const DashPattern dashes = DashPatternOf(pen_.style);
  const bool paint_gaps = background_mode_ == BackgroundMode::kOpaque;
  const uint32_t back = PixelValue(back_colour_);
  WithPenWriter(*bitmap_, raster_op_, [&](const auto& writer) {
    if (dashes.length == 1) {
      line.Walk(visible, [&](int32_t px, int32_t py) { writer.Put(px, py, pen); });
      return;
    }
    // The dash position of the first visible point: points before it are counted, not visited.
    uint32_t position = static_cast<uint32_t>(visible.first % dashes.length);
    line.Walk(visible, [&](int32_t px, int32_t py) {
      if ((dashes.bits >> position) & 1) {
        writer.Put(px, py, pen);
      } else if (paint_gaps) {
        writer.Put(px, py, back);
      }
      if (++position == dashes.length) position = 0;
    });
  });
}

}  // namespace lumivex
