// Elliptic arcs in a device context: the outline's extent and shape, the counterclockwise sweep,
// clipping of huge ellipses, dashes, wide pens, and every pixel drawn once.
#include <cmath>
#include <set>
#include <utility>
#include <vector>

#include "raster/raster_art.h"

namespace lumivex::testing {
namespace {

using Points = std::set<std::pair<int32_t, int32_t>>;

Points Lit(const Bitmap& bitmap, uint8_t value = kPenIndex) {
  Points points;
  for (int32_t y = 0; y < bitmap.height(); ++y) {
    for (int32_t x = 0; x < bitmap.width(); ++x) {
      if (bitmap.Row8(y)[x] == value) points.emplace(x, y);
    }
  }
  return points;
}

// One piece, joined through edges and corners.
bool Connected(const Points& points) {
  Points reached{*points.begin()};
  std::vector<std::pair<int32_t, int32_t>> todo{*points.begin()};
  while (!todo.empty()) {
    const auto [x, y] = todo.back();
    todo.pop_back();
    for (int32_t ny = y - 1; ny <= y + 1; ++ny) {
      for (int32_t nx = x - 1; nx <= x + 1; ++nx) {
        if (points.count({nx, ny}) && reached.insert({nx, ny}).second) todo.emplace_back(nx, ny);
      }
    }
  }
  return reached.size() == points.size();
}

// The whole ellipse in the box: start and end points the same.
void FullEllipse(DeviceContext& dc, const Rect& box) {
  dc.Arc(box, box.right + 5, (box.top + box.bottom) / 2, box.right + 5, (box.top + box.bottom) / 2);
}

TEST(Ellipse, OutlineFillsItsBoxAndFollowsTheCurve) {
  const int32_t sizes[] = {1, 2, 3, 4, 5, 6, 7, 9, 12, 17, 22, 41};  // odd and even boxes
  for (const int32_t w : sizes) {
    for (const int32_t h : sizes) {
      const Rect box{3, 2, 3 + w, 2 + h};
      SmallBitmap canvas(w + 6, h + 4);
      FullEllipse(canvas.dc(), box);
      const Points lit = Lit(canvas.bitmap());
      const std::string where = "box " + std::to_string(w) + " x " + std::to_string(h) + "\n";
      ASSERT_FALSE(lit.empty()) << where;
      int32_t left = 1 << 20, right = -1, top = 1 << 20, bottom = -1;
      const double cx = (box.left + box.right - 1) / 2.0, cy = (box.top + box.bottom - 1) / 2.0;
      const double a = (w - 1) / 2.0, b = (h - 1) / 2.0;
      for (const auto& [x, y] : lit) {
        left = std::min(left, x), right = std::max(right, x);
        top = std::min(top, y), bottom = std::max(bottom, y);
        // Within half a pixel of the curve across its column or along its row.
        const double dx = std::abs(x - cx), dy = std::abs(y - cy);
        const double column =
            a > 0 && dx <= a ? std::abs(dy - b * std::sqrt(1 - (dx / a) * (dx / a))) : 1e9;
        const double row =
            b > 0 && dy <= b ? std::abs(dx - a * std::sqrt(1 - (dy / b) * (dy / b))) : 1e9;
        const double flat = a == 0 ? dx : b == 0 ? dy : 1e9;
        EXPECT_LE(std::min({column, row, flat}), 0.5 + 1e-9)
            << where << "pixel " << x << "," << y << "\n"
            << canvas.Art();
        // Symmetric about both axes.
        EXPECT_TRUE(lit.count({box.left + box.right - 1 - x, y})) << where << canvas.Art();
        EXPECT_TRUE(lit.count({x, box.top + box.bottom - 1 - y})) << where << canvas.Art();
      }
      EXPECT_TRUE(Connected(lit)) << where << canvas.Art();
      EXPECT_EQ(left, box.left) << where << canvas.Art();
      EXPECT_EQ(right, box.right - 1) << where << canvas.Art();
      EXPECT_EQ(top, box.top) << where << canvas.Art();
      EXPECT_EQ(bottom, box.bottom - 1) << where << canvas.Art();

      // Every pixel once: exclusive-or gives the same picture as a copy.
      SmallBitmap xor_canvas(w + 6, h + 4);
      xor_canvas.dc().SetRasterOp(RasterOp::kXorPen);
      FullEllipse(xor_canvas.dc(), box);
      EXPECT_TRUE(SamePicture(xor_canvas.Art(), canvas.Art())) << where;
    }
  }
}

TEST(Arc, RunsCounterclockwiseFromTheStartRayToTheEndRay) {
  // Centre (20, 12), semi-axes 16 and 8.
  const Rect box{4, 4, 37, 21};
  SmallBitmap full(40, 26), quarter(40, 26), rest(40, 26);
  FullEllipse(full.dc(), box);
  quarter.dc().Arc(box, 36, 12, 20, 4);  // right, then up: the upper right quarter
  rest.dc().Arc(box, 20, 4, 36, 12);     // up, round the left and the bottom, to the right
  const Points all = Lit(full.bitmap()), q = Lit(quarter.bitmap()), r = Lit(rest.bitmap());
  for (const auto& [x, y] : q) {
    EXPECT_TRUE(x >= 20 && y <= 12) << x << "," << y << "\n" << quarter.Art();
    EXPECT_TRUE(all.count({x, y}));
  }
  Points both, either = q;
  for (const auto& p : r) {
    EXPECT_TRUE(all.count(p));
    either.insert(p);
    if (q.count(p)) both.insert(p);
  }
  EXPECT_EQ(either, all);
  EXPECT_EQ(both, (Points{{36, 12}, {20, 4}})) << quarter.Art() << rest.Art();
}

TEST(Arc, SweepsOfHalfATurnAndRaysThatCoincide) {
  const Rect box{2, 2, 13, 13};  // a circle of radius 5 around (7, 7)
  SmallBitmap full(15, 15);
  FullEllipse(full.dc(), box);
  struct Case {
    int32_t sx, sy, ex, ey;
    bool upper_half;
  };
  const Case cases[] = {
      {9, 7, 0, 7, true},    // right to left through the top: the upper half with both ends
      {7, 7, 7, 7, false},   // both at the centre: the whole circle
      {9, 7, 14, 7, false},  // different points on one ray: the whole circle
      {7, 7, 3, 7, true},    // a start at the centre counts as the ray to the right
  };
  for (const Case& c : cases) {
    SmallBitmap canvas(15, 15);
    canvas.dc().Arc(box, c.sx, c.sy, c.ex, c.ey);
    Points expected;
    for (const auto& [x, y] : Lit(full.bitmap())) {
      if (!c.upper_half || y <= 7) expected.emplace(x, y);
    }
    EXPECT_EQ(Lit(canvas.bitmap()), expected) << canvas.Art();
  }
}

TEST(Arc, HugeEllipsesAreClippedToWhatLandsOnTheBitmap) {
  struct Case {
    Rect box;
    const char* art;
  };
  const int32_t r = 65535;
  const Case cases[] = {
      // The top of a circle below the bitmap: a row of pixels.
      {Rect{20 - r, 3, 20 + r + 1, 3 + 2 * r + 1},
       "..........\n..........\n..........\n##########\n..........\n"},
      // The left side of a circle right of the bitmap: a column of pixels.
      {Rect{6, 2 - r, 6 + 2 * r + 1, 2 + r + 1},
       "......#...\n......#...\n......#...\n......#...\n......#...\n"},
      // A circle around the bitmap: nothing.
      {Rect{5 - r, 2 - r, 5 + r + 1, 2 + r + 1},
       "..........\n..........\n..........\n..........\n..........\n"},
  };
  for (const Case& c : cases) {
    SmallBitmap canvas(10, 5);
    FullEllipse(canvas.dc(), c.box);
    EXPECT_TRUE(SamePicture(canvas.Art(), c.art));
  }
}

TEST(Arc, DotsStartAtTheStartRayAndGapsTakeTheBackColourWhenOpaque) {
  const Rect box{2, 2, 23, 23};  // a circle of radius 10 around (12, 12)
  SmallBitmap canvas(25, 25);
  canvas.SetPen(PenStyle::kDot, 1);
  canvas.dc().SetBackgroundMode(BackgroundMode::kOpaque);
  FullEllipse(canvas.dc(), box);
  // Up from the rightmost pixel (22, 12): three dots, then a gap.
  std::string column;
  for (int32_t y = 12; y >= 9; --y)
    column += canvas.Art()[y * 26 + 22];
  EXPECT_EQ(column, "###b");
  const int pen = canvas.Count(kPenIndex), back = canvas.Count(kBackIndex);
  EXPECT_LE(std::abs(pen - back), 6) << canvas.Art();

  // From the top to the left, and from the left down: the dots start at each start ray and run
  // on across the axes.
  for (const bool from_top : {true, false}) {
    SmallBitmap arc(25, 25);
    arc.SetPen(PenStyle::kDot, 1);
    arc.dc().SetBackgroundMode(BackgroundMode::kOpaque);
    std::string run;
    if (from_top) {
      arc.dc().Arc(box, 12, 0, 0, 12);
      for (int32_t x = 12; x >= 9; --x)
        run += arc.Art()[2 * 26 + x];
    } else {
      arc.dc().Arc(box, 0, 12, 12, 24);
      for (int32_t y = 12; y <= 15; ++y)
        run += arc.Art()[y * 26 + 2];
    }
    EXPECT_EQ(run, "###b") << arc.Art();
  }

  // A box of one pixel: the dash starts on it.
  SmallBitmap dot(3, 3);
  dot.SetPen(PenStyle::kDashDot, 1);
  FullEllipse(dot.dc(), Rect{1, 1, 2, 2});
  EXPECT_TRUE(SamePicture(dot.Art(), Picture({"...", ".#.", "..."})));

  SmallBitmap transparent(25, 25);
  transparent.SetPen(PenStyle::kDot, 1);
  FullEllipse(transparent.dc(), box);
  EXPECT_EQ(transparent.Count(kBackIndex), 0);
  EXPECT_EQ(transparent.Count(kPenIndex), pen);
}

TEST(Arc, WidePensDrawABandWithRoundEnds) {
  const Rect box{7, 7, 24, 24};  // a circle of radius 8 around (15, 15)
  const double radius = 8, half = 1.5;
  SmallBitmap ring(31, 31), quarter(31, 31);
  ring.SetPen(PenStyle::kDash, 3);
  quarter.SetPen(PenStyle::kSolid, 3);
  FullEllipse(ring.dc(), box);
  quarter.dc().Arc(box, 30, 15, 15, 0);
  for (int32_t y = 0; y < 31; ++y) {
    for (int32_t x = 0; x < 31; ++x) {
      const double d = std::hypot(x - 15.0, y - 15.0);
      const bool in_ring = ring.bitmap().Row8(y)[x] != 0;
      EXPECT_TRUE(in_ring || std::abs(d - radius) >= half - 0.5) << x << "," << y << "\n"
                                                                 << ring.Art();
      EXPECT_FALSE(in_ring && std::abs(d - radius) > half + 0.5) << x << "," << y << "\n"
                                                                 << ring.Art();
      // The quarter: the ring's upper right part, and the round ends around (23, 15) and (15, 7).
      const bool near_end =
          std::hypot(x - 23.0, y - 15.0) <= half || std::hypot(x - 15.0, y - 7.0) <= half;
      const bool in_quarter = quarter.bitmap().Row8(y)[x] != 0;
      EXPECT_TRUE(!in_quarter || (x >= 15 && y <= 15 && in_ring) || near_end)
          << x << "," << y << "\n"
          << quarter.Art();
      EXPECT_TRUE(in_quarter || !(in_ring && x > 16 && y < 14)) << x << "," << y << "\n"
                                                                << quarter.Art();
    }
  }
  // Every pixel once.
  SmallBitmap twice(31, 31);
  twice.SetPen(PenStyle::kSolid, 3);
  twice.dc().SetRasterOp(RasterOp::kXorPen);
  twice.dc().Arc(box, 30, 15, 15, 0);
  EXPECT_TRUE(SamePicture(twice.Art(), quarter.Art()));
}

TEST(Arc, AWidePenKeepsToTheSweepOfAFlatEllipse) {
  // Boxes one pixel wide and one pixel high around (15, 15), the sweep 0..90 degrees: only the
  // band's part on the sweep's side of the centre is drawn, never the other half.
  struct Case {
    Rect box;
    bool vertical;
  };
  for (const Case& c : {Case{{15, 0, 16, 31}, true}, Case{{0, 15, 31, 16}, false}}) {
    SmallBitmap arc(31, 31);
    arc.SetPen(PenStyle::kSolid, 3);
    arc.dc().Arc(c.box, 30, 15, 15, 0);
    int32_t lit = 0;
    for (int32_t y = 0; y < 31; ++y) {
      for (int32_t x = 0; x < 31; ++x) {
        if (arc.bitmap().Row8(y)[x] == 0) continue;
        ++lit;
        EXPECT_TRUE(c.vertical ? y <= 15 : x >= 15) << x << "," << y << "\n" << arc.Art();
      }
    }
    EXPECT_GT(lit, 0) << arc.Art();
  }
}

}  // namespace
}  // namespace lumivex::testing
