// The digital line between two points: the pixels a one-pixel line lights, in drawing order.
//
// One point per column when the line is wider than tall, one per row otherwise (either for
// diagonals); the start point is included and the end point excluded, so a line has
// max(|dx|, |dy|) points and a zero-length line has none. Across the minor axis each point is the
// pixel nearest to the exact line; an exact half goes to the smaller coordinate (the upper pixel of
// a flat line, the left pixel of a steep one). The rule does not depend on the direction: A to B
// and B to A light the same pixels, apart from the included and excluded ends.
//
// Both the pen's one-pixel lines and the point-by-point walk of user-pattern lines step with this
// class, so the two visit the same points. Clipping works on point indices: Within() finds the
// points inside a rectangle without visiting the others, and the walk starts at any index with
// the exact error term, so clipping never changes a line's slope. Coordinates are expected within
// the 16-bit range the library hands out, or near it (|c| < 2^28 keeps every product in 64 bits).
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "platform/raster/colour_ref.h"

namespace lumivex {

// Point indices first..last-1.
struct IndexRange {
  int64_t first = 0;
  int64_t last = 0;
  bool Empty() const { return last <= first; }
  IndexRange Intersect(const IndexRange& o) const {
    return IndexRange{std::max(first, o.first), std::min(last, o.last)};
  }
};

class DigitalLine {
 public:
  DigitalLine(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    const int64_t dx = static_cast<int64_t>(x1) - x0;
    const int64_t dy = static_cast<int64_t>(y1) - y0;
    x_major_ = std::llabs(dx) >= std::llabs(dy);
    const int64_t major = x_major_ ? dx : dy;
    const int64_t minor = x_major_ ? dy : dx;
    major_start_ = x_major_ ? x0 : y0;
    minor_start_ = x_major_ ? y0 : x0;
    major_step_ = major < 0 ? -1 : 1;
    minor_step_ = minor < 0 ? -1 : 1;
    count_ = std::llabs(major);
    two_major_ = 2 * count_;
    two_minor_ = 2 * std::llabs(minor);
    // Point i lies minor_step * floor((two_minor * i + offset) / two_major) off the start across
    // the minor axis. Toward larger coordinates the rounding takes exact halves down (offset
    // |major| - 1); toward smaller ones it takes them away from the start (offset |major|).
    offset_ = count_ - (minor > 0 ? 1 : 0);
  }

  int64_t size() const { return count_; }

  // The points inside r (exclusive right and bottom). The line is monotone in both coordinates,
  // so they are consecutive.
  IndexRange Within(const Rect& r) const {
    if (count_ == 0 || r.Empty()) return IndexRange{};
    const int64_t major_lo = x_major_ ? r.left : r.top;
    const int64_t major_hi = x_major_ ? r.right : r.bottom;
    const int64_t minor_lo = x_major_ ? r.top : r.left;
    const int64_t minor_hi = x_major_ ? r.bottom : r.right;
    IndexRange range{0, count_};
    range = range.Intersect(StepsInto(major_start_, major_step_, major_lo, major_hi));
    // Minor offsets m with minor_start + minor_step * m inside [minor_lo, minor_hi).
    const IndexRange offsets = StepsInto(minor_start_, minor_step_, minor_lo, minor_hi);
    if (two_minor_ == 0) {
      return offsets.first <= 0 && 0 < offsets.last ? range : IndexRange{};
    }
    // m(i) >= k  <=>  i >= ceil((k * two_major - offset) / two_minor).
    const IndexRange by_minor{CeilDiv(offsets.first * two_major_ - offset_, two_minor_),
                              CeilDiv(offsets.last * two_major_ - offset_, two_minor_)};
    return range.Intersect(by_minor);
  }

  // Calls visit(x, y) for the points of the range, in order.
  template <typename Visit>
  void Walk(IndexRange range, Visit&& visit) const {
    range = range.Intersect(IndexRange{0, count_});
    if (range.Empty()) return;
    const int64_t numerator = two_minor_ * range.first + offset_;
    int64_t error = numerator % two_major_;
    int32_t major = static_cast<int32_t>(major_start_ + major_step_ * range.first);
    int32_t minor = static_cast<int32_t>(minor_start_ + minor_step_ * (numerator / two_major_));
    for (int64_t i = range.first; i < range.last; ++i) {
      if (x_major_) {
        visit(major, minor);
      } else {
        visit(minor, major);
      }
      major += major_step_;
      error += two_minor_;
      if (error >= two_major_) {
        error -= two_major_;
        minor += minor_step_;
      }
    }
  }

 private:
  static int64_t FloorDiv(int64_t a, int64_t b) {
    const int64_t q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
  }
  static int64_t CeilDiv(int64_t a, int64_t b) { return -FloorDiv(-a, b); }

  // The steps n >= 0 with start + step * n inside [lo, hi).
  static IndexRange StepsInto(int64_t start, int32_t step, int64_t lo, int64_t hi) {
    if (step > 0) return IndexRange{lo - start, hi - start};
    return IndexRange{start - hi + 1, start - lo + 1};
  }

  bool x_major_ = true;
  int64_t major_start_ = 0;
  int64_t minor_start_ = 0;
  int32_t major_step_ = 1;
  int32_t minor_step_ = 1;
  int64_t count_ = 0;
  int64_t two_major_ = 0;
  int64_t two_minor_ = 0;
  int64_t offset_ = 0;
};

}  // namespace lumivex
