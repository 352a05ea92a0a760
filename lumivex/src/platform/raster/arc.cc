// Elliptic arcs: the ellipse inscribed in a bounding box, cut to the counterclockwise sweep
// between two rays from its centre.
//
// The work happens in doubled coordinates (u, v) = (2x - (left + right - 1), (top + bottom - 1) -
// 2y): the centre is the origin, v points up as angles are measured on the screen, the semi-axes
// are A = width - 1 and B = height - 1, and boxes of even and odd size alike have integer centres.
//
// A one-pixel pen lights the ellipse the way one-pixel lines are lit: one pixel per column where
// the curve is flatter than 45 degrees (the pixel nearest to the curve in that column), one per
// row where it is steeper. In the upper right quarter the columns 0 <= u <= last_column hold the
// flat part and the rows below its last pixel the steep part; the other quarters are its mirror
// images, and the pixels on the axes belong to one quarter only, so every pixel is drawn once
// (which the exclusive-or write modes rely on). Each column or row is computed on its own, so
// only those that meet the clip bounds are visited, however large the ellipse.
//
// Dashes follow the pixels' order around the ellipse, counted counterclockwise from the right
// and started where the start ray meets the ellipse. A wide pen draws the band between the
// ellipses width / 2 outside and inside the curve, row by row, with round ends on an arc.
#include <algorithm>
#include <array>
#include <cmath>

#include "platform/raster/device_context.h"
#include "platform/raster/pen_writer.h"

namespace lumivex {

namespace {

int64_t Cross(int64_t ax, int64_t ay, int64_t bx, int64_t by) {
  return ax * by - ay * bx;
}

// The counterclockwise sweep from ray s to ray e, both rays included.
class Sweep {
 public:
  Sweep(int64_t sx, int64_t sy, int64_t ex, int64_t ey) {
    if (sx == 0 && sy == 0) sx = 1;
    if (ex == 0 && ey == 0) ex = 1;
    sx_ = sx, sy_ = sy, ex_ = ex, ey_ = ey;
    turn_ = Cross(sx, sy, ex, ey);
    full_ = turn_ == 0 && sx * ex + sy * ey > 0;
  }
  bool full() const { return full_; }
  int64_t sx() const { return sx_; }
  int64_t sy() const { return sy_; }
  int64_t ex() const { return ex_; }
  int64_t ey() const { return ey_; }

  bool Contains(int64_t u, int64_t v) const {
    if (full_) return true;
    const bool after_start = Cross(sx_, sy_, u, v) >= 0;
    const bool before_end = Cross(u, v, ex_, ey_) >= 0;
    if (turn_ > 0) return after_start && before_end;  // less than half a turn
    if (turn_ < 0) return after_start || before_end;  // more than half a turn
    return after_start;                               // exactly half a turn
  }

 private:
  int64_t sx_, sy_, ex_, ey_;
  int64_t turn_ = 0;
  bool full_ = false;
};

// The one-pixel outline of the upper right quarter, and where each pixel comes in the
// counterclockwise order of the whole ellipse.
class QuarterOutline {
 public:
  QuarterOutline(int64_t a, int64_t b) : a_(a), b_(b), first_column_(a & 1), first_row_(b & 1) {
    if (a == 0) {
      last_column_ = 0;
    } else {
      const double flat_end =
          static_cast<double>(a) * a / std::sqrt(static_cast<double>(a) * a + double(b) * b);
      last_column_ = std::min<int64_t>(a, static_cast<int64_t>(std::floor(flat_end)));
      if ((last_column_ - a) & 1) --last_column_;
    }
    columns_ = last_column_ >= first_column_ ? (last_column_ - first_column_) / 2 + 1 : 0;
    last_row_ = columns_ > 0 ? RowOfColumn(last_column_) - 2 : b;
    if (columns_ > 0 && last_row_ < first_row_) {
      // The flat part already reaches the lowest row (a box only a row or two high): it runs on
      // to the side of the box.
      last_column_ = a;
      columns_ = (last_column_ - first_column_) / 2 + 1;
    }
    rows_ = last_row_ >= first_row_ ? (last_row_ - first_row_) / 2 + 1 : 0;
    CountAxisPixels();
  }

  int64_t first_column() const { return first_column_; }
  int64_t last_column() const { return last_column_; }
  int64_t first_row() const { return first_row_; }
  int64_t last_row() const { return last_row_; }
  // The number of pixels around the whole ellipse.
  // (At least 1: the single pixel of a box one pixel wide and high is on both axes.)
  int64_t around() const {
    return std::max<int64_t>(1, 4 * (columns_ + rows_) - 2 * on_u_axis_ - 2 * on_v_axis_);
  }

  // The pixel of column u of the flat part, and of row v of the steep part.
  int64_t RowOfColumn(int64_t u) const { return Nearest(b_, a_, u, first_row_); }
  int64_t ColumnOfRow(int64_t v) const { return Nearest(a_, b_, v, first_column_); }

  // Positions in the order, counterclockwise from the right, within the upper right quarter.
  int64_t ColumnPosition(int64_t u) const { return rows_ + (last_column_ - u) / 2; }
  int64_t RowPosition(int64_t v) const { return (v - first_row_) / 2; }
  // The same for a point of the curve between pixels.
  double PositionAt(double u, double v) const {
    return u <= last_column_ + 1 ? rows_ + (last_column_ - u) / 2 : (v - first_row_) / 2;
  }

  // A position within the upper right quarter carried to quarter q (counterclockwise from the
  // upper right one) and counted around the whole ellipse. The axis pixels that quarters 2 to 4
  // leave to an earlier one lie at the ends of their runs and are not counted.
  int64_t PositionAround(int q, int64_t position) const {
    const int64_t n = columns_ + rows_;
    switch (q) {
      case 0:
        return position;
      case 1:  // from the top (u = 0 held by quarter 0) to the left
        return n + (n - 1 - position) - on_u_axis_;
      case 2:  // from the left (v = 0 held by quarter 1) to the bottom (u = 0 held by quarter 3)
        return 2 * n - on_u_axis_ + (position - on_v_axis_);
      default:  // from the bottom to the right (v = 0 held by quarter 0)
        return 3 * n - 2 * on_u_axis_ - on_v_axis_ + (n - 1 - position);
    }
  }

 private:
  // The coordinate of the same parity as `extent` nearest to extent * sqrt(1 - (t / across)^2),
  // not below `lowest`.
  static int64_t Nearest(int64_t extent, int64_t across, int64_t t, int64_t lowest) {
    if (across == 0) return extent;
    const double exact = static_cast<double>(extent) *
                         std::sqrt(static_cast<double>(across * across - t * t)) / across;
    // Not negative, so truncation rounds down.
    const int64_t steps = static_cast<int64_t>((extent - exact) / 2 + 0.5);
    return std::max(extent - 2 * steps, lowest);
  }

  // The quarter's pixels with u = 0 are the flat part's column 0 and the steep part's top rows
  // whose pixel is in column 0; those with v = 0 are the steep part's row 0 and the flat part's
  // outer columns whose pixel is in row 0. Rows and columns are monotone, so a binary search
  // finds where each run begins.
  void CountAxisPixels() {
    if (first_column_ == 0) {
      on_u_axis_ = columns_ > 0 ? 1 : 0;
      on_u_axis_ +=
          CountFromEnd(first_row_, last_row_, [this](int64_t v) { return ColumnOfRow(v) == 0; });
    }
    if (first_row_ == 0) {
      on_v_axis_ = rows_ > 0 ? 1 : 0;
      on_v_axis_ += CountFromEnd(first_column_, last_column_,
                                 [this](int64_t u) { return RowOfColumn(u) == 0; });
    }
  }
  // How many of first, first + 2, ..., last, from the last one down, satisfy a predicate that
  // holds from some point on.
  template <typename Predicate>
  static int64_t CountFromEnd(int64_t first, int64_t last, Predicate holds) {
    if (last < first) return 0;
    int64_t lo = 0, hi = (last - first) / 2 + 1;  // the answer lies in [lo, hi]
    while (lo < hi) {
      const int64_t mid = (lo + hi + 1) / 2;
      if (holds(last - 2 * (mid - 1))) {
        lo = mid;
      } else {
        hi = mid - 1;
      }
    }
    return lo;
  }

  int64_t a_, b_;
  int64_t first_column_, first_row_;
  int64_t last_column_ = 0, last_row_ = 0;
  int64_t columns_ = 0, rows_ = 0;
  int64_t on_u_axis_ = 0, on_v_axis_ = 0;
};

// The four quarters as mirror images of the upper right one, in counterclockwise order.
struct Quarter {
  int sign_u, sign_v;
  bool skip_u_axis, skip_v_axis;  // pixels on the axis that an earlier quarter holds
};
constexpr std::array<Quarter, 4> kQuarters = {{
    {1, 1, false, false},
    {-1, 1, true, false},
    {-1, -1, true, true},
    {1, -1, false, true},
}};

// The values t in [first, last], of the parity of `first`, with sign * t inside [lo, hi].
struct Steps {
  int64_t first, last;
};
Steps StepsWithin(int sign, int64_t lo, int64_t hi, int64_t first, int64_t last) {
  int64_t from = sign > 0 ? lo : -hi;
  int64_t to = sign > 0 ? hi : -lo;
  from = std::max(from, first);
  to = std::min(to, last);
  if ((from - first) & 1) ++from;
  return Steps{from, to};
}

// Both ranges of steps, as one (they share their parity).
Steps Hull(const Steps& a, const Steps& b) {
  if (a.first > a.last) return b;
  if (b.first > b.last) return a;
  return Steps{std::min(a.first, b.first), std::max(a.last, b.last)};
}

template <typename Writer>
void DrawThinArc(const Writer& writer, const Rect& clip, int64_t centre_u, int64_t centre_v,
                 const QuarterOutline& outline, const Sweep& sweep, const DashPattern& dashes,
                 int64_t dash_start, uint32_t pen, uint32_t back, bool paint_gaps) {
  const int64_t around = outline.around();
  auto plot = [&](int q, int64_t u, int64_t v, int64_t position) __attribute__((always_inline)) {
    const Quarter& quarter = kQuarters[q];
    if ((quarter.skip_u_axis && u == 0) || (quarter.skip_v_axis && v == 0)) return;
    const int64_t su = quarter.sign_u * u, sv = quarter.sign_v * v;
    const int32_t x = static_cast<int32_t>((centre_u + su) / 2);
    const int32_t y = static_cast<int32_t>((centre_v - sv) / 2);
    if (!clip.Contains(x, y) || !sweep.Contains(su, sv)) return;
    if (dashes.length == 1) {
      writer.Put(x, y, pen);
      return;
    }
    int64_t along = (outline.PositionAround(q, position) - dash_start) % around;
    if (along < 0) along += around;
    if ((dashes.bits >> (along % dashes.length)) & 1) {
      writer.Put(x, y, pen);
    } else if (paint_gaps) {
      writer.Put(x, y, back);
    }
  };
  // Doubled coordinates of the clip bounds' first and last pixels.
  const int64_t u_lo = 2 * int64_t{clip.left} - centre_u,
                u_hi = 2 * int64_t{clip.right - 1} - centre_u;
  const int64_t v_lo = centre_v - 2 * int64_t{clip.bottom - 1},
                v_hi = centre_v - 2 * int64_t{clip.top};
  // Each column and row is computed once and drawn in every quarter that shows it.
  const Steps columns =
      Hull(StepsWithin(1, u_lo, u_hi, outline.first_column(), outline.last_column()),
           StepsWithin(-1, u_lo, u_hi, outline.first_column(), outline.last_column()));
  for (int64_t u = columns.first; u <= columns.last; u += 2) {
    const int64_t v = outline.RowOfColumn(u), position = outline.ColumnPosition(u);
    for (int q = 0; q < 4; ++q)
      plot(q, u, v, position);
  }
  const Steps rows = Hull(StepsWithin(1, v_lo, v_hi, outline.first_row(), outline.last_row()),
                          StepsWithin(-1, v_lo, v_hi, outline.first_row(), outline.last_row()));
  for (int64_t v = rows.first; v <= rows.last; v += 2) {
    const int64_t u = outline.ColumnOfRow(v), position = outline.RowPosition(v);
    for (int q = 0; q < 4; ++q)
      plot(q, u, v, position);
  }
}

// Where the start ray meets the ellipse, as a position in the counterclockwise order.
int64_t StartPosition(const QuarterOutline& outline, int64_t a, int64_t b, const Sweep& sweep) {
  if (a == 0 || b == 0) return 0;
  const double su = static_cast<double>(sweep.sx()), sv = static_cast<double>(sweep.sy());
  const double scale = 1 / std::sqrt((su / a) * (su / a) + (sv / b) * (sv / b));
  const double position = outline.PositionAt(std::abs(su) * scale, std::abs(sv) * scale);
  const int q = sweep.sx() >= 0 ? (sweep.sy() >= 0 ? 0 : 3) : (sweep.sy() >= 0 ? 1 : 2);
  return outline.PositionAround(q, static_cast<int64_t>(std::floor(position + 0.5)));
}

// A wide pen's arc: the band between two ellipses, cut to the sweep, with a disc at each end.
template <typename Writer>
void DrawWideArc(const Writer& writer, const Rect& clip, int64_t centre_u, int64_t centre_v,
                 int64_t a, int64_t b, const Sweep& sweep, uint32_t width, uint32_t pen) {
  const double cx = centre_u / 2.0, cy = centre_v / 2.0;
  const double half = width / 2.0;
  const double outer_a = a / 2.0 + half, outer_b = b / 2.0 + half;
  const double inner_a = a / 2.0 - half, inner_b = b / 2.0 - half;
  const bool has_hole = inner_a > 0 && inner_b > 0;

  struct Cap {
    double x, y;
  };
  std::array<Cap, 2> caps{};
  int cap_count = 0;
  if (!sweep.full() && a > 0 && b > 0) {
    for (const auto& [ru, rv] :
         {std::pair{sweep.sx(), sweep.sy()}, std::pair{sweep.ex(), sweep.ey()}}) {
      const double u = static_cast<double>(ru), v = static_cast<double>(rv);
      const double scale = 1 / std::sqrt((u / a) * (u / a) + (v / b) * (v / b));
      caps[cap_count++] = Cap{cx + u * scale / 2, cy - v * scale / 2};
    }
  }

  const PixelSpan rows = SpanOf(cy - outer_b, cy + outer_b, clip.top, clip.bottom);
  for (int32_t y = rows.left; y < rows.right; ++y) {
    const double dy = y - cy;
    std::array<PixelSpan, 4> spans{};
    int span_count = 0;
    double hole_lo = 0, hole_hi = 0;  // the open interval the inner ellipse removes
    bool row_has_hole = false;
    if (std::abs(dy) <= outer_b) {
      const double reach = outer_a * std::sqrt(std::max(0.0, 1 - (dy / outer_b) * (dy / outer_b)));
      if (has_hole && std::abs(dy) < inner_b) {
        const double inner = inner_a * std::sqrt(1 - (dy / inner_b) * (dy / inner_b));
        hole_lo = cx - inner, hole_hi = cx + inner;
        row_has_hole = true;
        // Pixels x <= hole_lo on the left, x >= hole_hi on the right.
        spans[span_count++] = SpanOf(cx - reach, std::min(cx + reach, std::floor(hole_lo) + 1),
                                     clip.left, clip.right);
        spans[span_count++] =
            SpanOf(std::max(cx - reach, std::ceil(hole_hi)), cx + reach, clip.left, clip.right);
      } else {
        spans[span_count++] = SpanOf(cx - reach, cx + reach, clip.left, clip.right);
      }
    }
    auto in_band = [&](int32_t x) { return !row_has_hole || !(hole_lo < x && x < hole_hi); };
    if (sweep.full()) {
      for (int i = 0; i < span_count; ++i) {
        if (!spans[i].Empty()) writer.Span(y, spans[i].left, spans[i].right, pen);
      }
      continue;
    }
    for (int i = 0; i < cap_count; ++i) {
      const double cap_dy = y - caps[i].y;
      if (cap_dy * cap_dy > half * half) continue;
      const double chord = std::sqrt(half * half - cap_dy * cap_dy);
      spans[span_count++] = SpanOf(caps[i].x - chord, caps[i].x + chord, clip.left, clip.right);
    }
    // Each pixel once: the spans merged, then every pixel tested.
    for (int i = 1; i < span_count; ++i) {
      for (int j = i; j > 0 && spans[j].left < spans[j - 1].left; --j) {
        std::swap(spans[j], spans[j - 1]);
      }
    }
    int32_t done = clip.left;
    for (int i = 0; i < span_count; ++i) {
      for (int32_t x = std::max(done, spans[i].left); x < spans[i].right; ++x) {
        const int64_t u = 2 * int64_t{x} - centre_u, v = centre_v - 2 * int64_t{y};
        bool lit = in_band(x) && sweep.Contains(u, v);
        for (int c = 0; c < cap_count && !lit; ++c) {
          const double ddx = x - caps[c].x, ddy = y - caps[c].y;
          lit = ddx * ddx + ddy * ddy <= half * half;
        }
        if (lit) writer.Put(x, y, pen);
      }
      done = std::max(done, spans[i].right);
    }
  }
}

}  // namespace

void DeviceContext::Arc(const Rect& box, int32_t start_x, int32_t start_y, int32_t end_x,
                        int32_t end_y) {
  if (bitmap_ == nullptr || pen_.style == PenStyle::kNull || clip_bounds_.Empty()) return;
  const int64_t width = int64_t{box.right} - box.left, height = int64_t{box.bottom} - box.top;
  if (width <= 0 || height <= 0) return;
  const int64_t a = width - 1, b = height - 1;
  const int64_t centre_u = int64_t{box.left} + box.right - 1;
  const int64_t centre_v = int64_t{box.top} + box.bottom - 1;
  const Sweep sweep(2 * int64_t{start_x} - centre_u, centre_v - 2 * int64_t{start_y},
                    2 * int64_t{end_x} - centre_u, centre_v - 2 * int64_t{end_y});
  const uint32_t pen = PixelValue(pen_.colour);

  if (pen_.width > 1) {
    WithPenWriter(*bitmap_, raster_op_, [&](const auto& writer) {
      DrawWideArc(writer, clip_bounds_, centre_u, centre_v, a, b, sweep, pen_.width, pen);
    });
    return;
  }
  const QuarterOutline outline(a, b);
  const DashPattern dashes = DashPatternOf(pen_.style);
  const int64_t dash_start = dashes.length == 1 ? 0 : StartPosition(outline, a, b, sweep);
  const bool paint_gaps = background_mode_ == BackgroundMode::kOpaque;
  const uint32_t back = PixelValue(back_colour_);
  WithPenWriter(*bitmap_, raster_op_, [&](const auto& writer) {
    DrawThinArc(writer, clip_bounds_, centre_u, centre_v, outline, sweep, dashes, dash_start, pen,
                back, paint_gaps);
  });
}

}  // namespace lumivex
