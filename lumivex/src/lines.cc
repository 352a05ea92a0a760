// Lines and arcs: DrawLineTo, DrawLine, DrawArc and DrawCircle.
//
// Pen-drawn lines and arcs go to the device contexts' LineTo and Arc, mirrored under the canvas
// lock. Lines of the user pattern (line style 5) are walked here point by point along the same
// digital line the one-pixel pen lights, each set point written as PlotPixel writes it: a plain
// copy of the pen colour, clipped, into the window surface first when the draw page is on show.
#include <algorithm>
#include <array>
#include <cmath>
#include <mutex>

#include "canvas_state.h"
#include "lumivex/numeric.h"
#include "platform/raster/line_walk.h"
#include "platform/raster/pen_writer.h"

namespace lumivex {

namespace {

constexpr uint16_t kUserPatternStyle = 5;

// pi / 180, the extended value nearest to it.
constexpr Extended kDegree = 0.01745329251994329576923690768488612713L;

// The points of the viewport-relative line that land inside the device rectangle `bounds`.
// A point's device coordinate is origin + point wrapped to 16 bits, so the device rectangle seen
// from the viewport is the rectangle shifted by -origin and by whole turns of 65536; the ranges
// come back in walking order and never overlap.
struct VisibleRanges {
  std::array<IndexRange, 9> ranges{};
  int count = 0;
};
VisibleRanges PointsLandingIn(const DigitalLine& line, const Rect& bounds, int16_t origin_x,
                              int16_t origin_y) {
  VisibleRanges visible;
  for (int32_t turn_x = -1; turn_x <= 1; ++turn_x) {
    for (int32_t turn_y = -1; turn_y <= 1; ++turn_y) {
      const int32_t shift_x = turn_x * 65536 - origin_x, shift_y = turn_y * 65536 - origin_y;
      const Rect seen{bounds.left + shift_x, bounds.top + shift_y, bounds.right + shift_x,
                      bounds.bottom + shift_y};
      const IndexRange range = line.Within(seen);
      if (!range.Empty()) visible.ranges[visible.count++] = range;
    }
  }
  std::sort(visible.ranges.begin(), visible.ranges.begin() + visible.count,
            [](const IndexRange& a, const IndexRange& b) { return a.first < b.first; });
  return visible;
}

// The user-pattern line from the current position to (x, y): bit k of the pattern decides the
// k-th point (k counted modulo 16 from 0 at the start point); the end point is not visited.
void DrawPatternLine(CanvasState& canvas, int16_t x, int16_t y) {
  const DrawingState& d = canvas.drawing;
  const DigitalLine line(d.current_x, d.current_y, x, y);
  const uint16_t pattern = d.line_pattern;
  const ColourRef colour = DeviceColour(d.pen_colour);
  const int16_t origin_x = static_cast<int16_t>(d.origin_x);
  const int16_t origin_y = static_cast<int16_t>(d.origin_y);
  std::lock_guard<ReentrantLock> hold(canvas.lock);
  DrawMirrored(canvas, [&](DeviceContext& dc) {
    if (dc.bitmap() == nullptr) return;
    const uint32_t value = dc.PixelValue(colour);
    const VisibleRanges visible = PointsLandingIn(line, dc.clip_bounds(), origin_x, origin_y);
    if (visible.count == 0) return;
    WithPenWriter(*dc.bitmap(), RasterOp::kCopyPen, [&](const auto& writer) {
      for (int r = 0; r < visible.count; ++r) {
        uint32_t bit = static_cast<uint32_t>(visible.ranges[r].first & 15);
        line.Walk(visible.ranges[r], [&](int32_t px, int32_t py) {
          if ((pattern >> bit) & 1) {
            writer.Put(static_cast<int16_t>(px + origin_x), static_cast<int16_t>(py + origin_y),
                       value);
          }
          bit = (bit + 1) & 15;
        });
      }
    });
  });
}

}  // namespace

}  // namespace lumivex

using namespace lumivex;

void DrawLineTo(int16_t x, int16_t y) {
  if (!BeginOperation()) return;
  CanvasState& canvas = Canvas();
  const DrawingState& d = canvas.drawing;
  if (d.line_style == kUserPatternStyle) {
    DrawPatternLine(canvas, x, y);
  } else {
    const int32_t device_x = DeviceX(x), device_y = DeviceY(y);
    {
      std::lock_guard<ReentrantLock> hold(canvas.lock);
      DrawMirrored(canvas, [&](DeviceContext& dc) { dc.LineTo(device_x, device_y); });
    }
    // A plain copy in the pen colour, whatever the style and the write mode.
    if (d.line_thickness == 1) PlotPixel(x, y, d.pen_colour);
  }
  MovePen(x, y);
}

void DrawLine(int16_t x1, int16_t y1, int16_t x2, int16_t y2) {
  MovePen(x1, y1);
  DrawLineTo(x2, y2);
}

void DrawArc(int16_t x, int16_t y, uint16_t start, uint16_t end, uint16_t x_radius,
             uint16_t y_radius) {
  if (!BeginOperation()) return;
  CanvasState& canvas = Canvas();
  const DrawingState& d = canvas.drawing;
  const int32_t centre_x = DeviceX(x), centre_y = DeviceY(y);
  // The points on the rays, from the radii as passed in; finite, so the conversions succeed.
  int64_t start_x = 0, start_y = 0, end_x = 0, end_y = 0;
  NearestInteger(std::cos(start * kDegree) * x_radius, start_x);
  NearestInteger(std::sin(start * kDegree) * y_radius, start_y);
  NearestInteger(std::cos(end * kDegree) * x_radius, end_x);
  NearestInteger(std::sin(end * kDegree) * y_radius, end_y);
  if (!d.neutral_aspect) {
    // A zero aspect would divide by zero: such an arc has no size, and is not drawn.
    if (d.aspect_x == 0 || d.aspect_y == 0) {
      SetStatus(kStatusOutOfRange);
      return;
    }
    x_radius = static_cast<uint16_t>(x_radius * 10000u / d.aspect_x);
    y_radius = static_cast<uint16_t>(y_radius * 10000u / d.aspect_y);
  }
  const Rect box{centre_x - x_radius, centre_y - y_radius, centre_x + x_radius + 1,
                 centre_y + y_radius + 1};
  const int32_t from_x = centre_x + static_cast<int32_t>(start_x);
  const int32_t from_y = centre_y - static_cast<int32_t>(start_y);
  const int32_t to_x = centre_x + static_cast<int32_t>(end_x);
  const int32_t to_y = centre_y - static_cast<int32_t>(end_y);
  std::lock_guard<ReentrantLock> hold(canvas.lock);
  DrawMirrored(canvas, [&](DeviceContext& dc) { dc.Arc(box, from_x, from_y, to_x, to_y); });
}

void DrawCircle(int16_t x, int16_t y, uint16_t radius) {
  DrawArc(x, y, 0, 360, radius, radius);
}
