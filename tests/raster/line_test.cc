// Pen lines in a device context: the stepping rule, clipping, dashes and gaps, raster
// operations and wide pens, pixel by pixel on small bitmaps.
#include <cmath>
#include <set>
#include <utility>
#include <vector>

#include "platform/raster/line_walk.h"
#include "raster/raster_art.h"

namespace lumivex::testing {
namespace {

using Points = std::set<std::pair<int32_t, int32_t>>;

int64_t CeilFraction(int64_t n, int64_t d) {
  if (d < 0) n = -n, d = -d;
  return n >= 0 ? (n + d - 1) / d : -((-n) / d);
}

// The stepping rule stated directly: one point per column (per row when steeper), the nearest
// pixel to the exact line across, exact halves to the smaller coordinate, the end excluded.
Points ExpectedLine(int64_t x0, int64_t y0, int64_t x1, int64_t y1, const Rect& inside) {
  Points points;
  const int64_t dx = x1 - x0, dy = y1 - y0;
  const bool x_major = std::llabs(dx) >= std::llabs(dy);
  const int64_t steps = x_major ? std::llabs(dx) : std::llabs(dy);
  for (int64_t i = 0; i < steps; ++i) {
    int64_t x, y;
    if (x_major) {
      x = x0 + (dx > 0 ? i : -i);
      // y = ceil(y0 + dy (x - x0) / dx - 1/2)
      y = CeilFraction(2 * y0 * dx + 2 * dy * (x - x0) - dx, 2 * dx);
    } else {
      y = y0 + (dy > 0 ? i : -i);
      x = CeilFraction(2 * x0 * dy + 2 * dx * (y - y0) - dy, 2 * dy);
    }
    if (inside.Contains(static_cast<int32_t>(x), static_cast<int32_t>(y))) points.emplace(x, y);
  }
  return points;
}

Points Lit(const Bitmap& bitmap) {
  Points points;
  for (int32_t y = 0; y < bitmap.height(); ++y) {
    for (int32_t x = 0; x < bitmap.width(); ++x) {
      if (bitmap.Row8(y)[x] != 0) points.emplace(x, y);
    }
  }
  return points;
}

TEST(OnePixelLine, EveryLineBetweenGridPointsFollowsTheSteppingRule) {
  constexpr int32_t kSize = 9;
  for (int32_t x0 = 0; x0 < kSize; ++x0) {
    for (int32_t y0 = 0; y0 < kSize; ++y0) {
      for (int32_t x1 = 0; x1 < kSize; ++x1) {
        for (int32_t y1 = 0; y1 < kSize; ++y1) {
          SmallBitmap canvas(kSize, kSize);
          canvas.Line(x0, y0, x1, y1);
          ASSERT_EQ(Lit(canvas.bitmap()), ExpectedLine(x0, y0, x1, y1, canvas.bitmap().bounds()))
              << "line (" << x0 << ", " << y0 << ") to (" << x1 << ", " << y1 << ")\n"
              << canvas.Art();
          EXPECT_EQ(canvas.dc().position_x(), x1);
          EXPECT_EQ(canvas.dc().position_y(), y1);
        }
      }
    }
  }
}

TEST(OnePixelLine, TiesGoToTheUpperOrLeftPixelInBothDirections) {
  struct Case {
    int32_t x0, y0, x1, y1;
    const char* art;
  };
  // The half-way column of the flat lines and the half-way row of the steep ones.
  const Case cases[] = {
      {0, 0, 4, 1, "###..\n...#.\n"},
      {4, 1, 0, 0, ".##..\n...##\n"},
      {0, 0, 1, 4, "#.\n#.\n#.\n.#\n..\n"},
      {1, 4, 0, 0, "..\n#.\n#.\n.#\n.#\n"},
  };
  for (const Case& c : cases) {
    const int32_t width = std::max(c.x0, c.x1) + 1, height = std::max(c.y0, c.y1) + 1;
    SmallBitmap canvas(width, height);
    canvas.Line(c.x0, c.y0, c.x1, c.y1);
    EXPECT_TRUE(SamePicture(canvas.Art(), c.art))
        << c.x0 << "," << c.y0 << " to " << c.x1 << "," << c.y1;
  }
}

TEST(OnePixelLine, ClippingFarEndPointsKeepsTheSlope) {
  const Rect clips[] = {Rect{0, 0, 40, 30}, Rect{7, 5, 23, 19}};
  const int32_t lines[][4] = {
      {-32768, -30000, 32767, 32767}, {32767, 32767, -32768, -30000},
      {-32768, 7, 32767, 12},         {3, -32768, 9, 32767},
      {-32768, 32767, 32767, -32768}, {-1000, 15, 1001, 16},
      {39, -32768, 0, 32767},         {-5, -5, 50, 34},
  };
  for (const Rect& clip : clips) {
    for (const auto& l : lines) {
      SmallBitmap canvas(40, 30);
      canvas.dc().SetClip(clip);
      canvas.Line(l[0], l[1], l[2], l[3]);
      EXPECT_EQ(Lit(canvas.bitmap()),
                ExpectedLine(l[0], l[1], l[2], l[3], clip.Intersect(canvas.bitmap().bounds())))
          << "line (" << l[0] << ", " << l[1] << ") to (" << l[2] << ", " << l[3] << ")\n"
          << canvas.Art();
    }
  }
}

TEST(LineWalk, WithinFindsExactlyThePointsInsideARectangle) {
  uint32_t seed = 12345;
  auto next = [&seed](int32_t range) {
    seed = seed * 1103515245u + 12345u;
    return static_cast<int32_t>((seed >> 8) % static_cast<uint32_t>(2 * range + 1)) - range;
  };
  for (int trial = 0; trial < 2000; ++trial) {
    const DigitalLine line(next(60), next(60), next(60), next(60));
    const int32_t left = next(40), top = next(40);
    const Rect r{left, top, left + next(30) + 10, top + next(30) + 10};
    std::vector<int64_t> inside;
    int64_t i = 0;
    line.Walk(IndexRange{0, line.size()}, [&](int32_t x, int32_t y) {
      if (r.Contains(x, y)) inside.push_back(i);
      ++i;
    });
    const IndexRange range = line.Within(r);
    if (inside.empty()) {
      EXPECT_TRUE(range.Empty()) << trial;
    } else {
      EXPECT_EQ(range.first, inside.front()) << trial;
      EXPECT_EQ(range.last, inside.back() + 1) << trial;
      EXPECT_EQ(static_cast<int64_t>(inside.size()), range.last - range.first) << trial;
    }
  }
}

TEST(StyledLine, DashesAndGaps) {
  struct Case {
    PenStyle style;
    BackgroundMode mode;
    const char* art;
  };
  const Case cases[] = {
      {PenStyle::kDash, BackgroundMode::kTransparent, "##################......######"},
      {PenStyle::kDash, BackgroundMode::kOpaque, "##################bbbbbb######"},
      {PenStyle::kDot, BackgroundMode::kOpaque, "###bbb###bbb###bbb###bbb###bbb"},
      {PenStyle::kDashDot, BackgroundMode::kOpaque, "#########bbbbbb###bbbbbb######"},
      {PenStyle::kDashDotDot, BackgroundMode::kTransparent, "#########...###...###...######"},
      {PenStyle::kNull, BackgroundMode::kOpaque, ".............................."},
  };
  for (const Case& c : cases) {
    SmallBitmap canvas(30, 1);
    canvas.SetPen(c.style, 1);
    canvas.dc().SetBackgroundMode(c.mode);
    canvas.Line(0, 0, 30, 0);
    EXPECT_TRUE(SamePicture(canvas.Art(), std::string(c.art) + "\n"))
        << "style " << static_cast<int>(c.style);
  }
}

TEST(StyledLine, DashesFollowThePointsOfSteepLinesAndRestartAtEveryLine) {
  SmallBitmap steep(2, 8);
  steep.SetPen(PenStyle::kDot, 1);
  steep.dc().SetBackgroundMode(BackgroundMode::kOpaque);
  steep.Line(0, 0, 1, 8);
  EXPECT_TRUE(SamePicture(steep.Art(), Picture({"#.", "#.", "#.", "b.", "b.", ".b", ".#", ".#"})));

  SmallBitmap two(12, 1);
  two.SetPen(PenStyle::kDot, 1);
  two.Line(0, 0, 4, 0);
  two.dc().LineTo(12, 0);
  EXPECT_TRUE(SamePicture(two.Art(), "###.###...##\n"));
}

// The truth tables of the 16 write modes, from pen P and destination D.
uint32_t ExpectedRasterOp(RasterOp op, uint32_t p, uint32_t d) {
  switch (op) {
    case RasterOp::kCopyPen:
      return p;
    case RasterOp::kXorPen:
      return p ^ d;
    case RasterOp::kMergePen:
      return p | d;
    case RasterOp::kMaskPen:
      return p & d;
    case RasterOp::kNotCopyPen:
      return ~p;
    case RasterOp::kNot:
      return ~d;
    case RasterOp::kNotXorPen:
      return ~(p ^ d);
    case RasterOp::kNotMergePen:
      return ~(p | d);
    case RasterOp::kNotMaskPen:
      return ~(p & d);
    case RasterOp::kMaskNotPen:
      return ~p & d;
    case RasterOp::kMergeNotPen:
      return ~p | d;
    case RasterOp::kMaskPenNot:
      return p & ~d;
    case RasterOp::kMergePenNot:
      return p | ~d;
    case RasterOp::kBlack:
      return 0;
    case RasterOp::kWhite:
      return ~0u;
    case RasterOp::kNop:
      return d;
  }
  return 0;
}

TEST(PenRasterOps, EveryOperationOnIndicesAndOnRgb) {
  const uint32_t index_destinations[] = {0, 5, 10, 15};
  const uint32_t rgb_destinations[] = {0x000000, 0x123456, 0xFFFFFF, 0xA5C30F};
  for (uint8_t code = 1; code <= 16; ++code) {
    const RasterOp op = static_cast<RasterOp>(code);
    // A 16-colour page: results stay within the 4 index bits.
    Bitmap page(4, 1, PixelFormat::kIndexed8, 16);
    Bitmap surface(4, 1, PixelFormat::kRgb32);
    for (int x = 0; x < 4; ++x) {
      page.Row8(0)[x] = static_cast<uint8_t>(index_destinations[x]);
      surface.Row32(0)[x] = rgb_destinations[x];
    }
    surface.TakeChanged();
    DeviceContext dc;
    dc.SetRasterOp(op);
    dc.SelectBitmap(&page);
    dc.SetPen(Pen{PenStyle::kSolid, 1, PaletteIndexRef(6)});
    dc.MoveTo(0, 0);
    dc.LineTo(4, 0);
    dc.SelectBitmap(&surface);
    dc.SetPen(Pen{PenStyle::kSolid, 3, 0x3C5A96});
    dc.MoveTo(1, 0);
    dc.LineTo(2, 0);
    for (int x = 0; x < 4; ++x) {
      EXPECT_EQ(page.Row8(0)[x], ExpectedRasterOp(op, 6, index_destinations[x]) & 15)
          << "operation " << int{code} << ", x " << x;
      EXPECT_EQ(surface.Row32(0)[x], ExpectedRasterOp(op, 0x3C5A96, rgb_destinations[x]) & 0xFFFFFF)
          << "operation " << int{code} << ", x " << x;
    }
    EXPECT_TRUE(surface.TakeChanged());
  }
}

TEST(WideLine, SolidRoundEndedBandsWhateverTheStyle) {
  struct Case {
    PenStyle style;
    uint32_t width;
    int32_t x0, y0, x1, y1;
    std::string art;
  };
  const Case cases[] = {
      {PenStyle::kSolid, 3, 2, 2, 7, 2,
       Picture({"..........", ".########.", ".########.", ".########.", ".........."})},
      {PenStyle::kDash, 3, 7, 2, 2, 2,
       Picture({"..........", ".########.", ".########.", ".########.", ".........."})},
      {PenStyle::kSolid, 2, 2, 2, 7, 2,
       Picture({"..........", "..#####...", ".#######..", "..........", ".........."})},
      {PenStyle::kSolid, 5, 4, 2, 4, 2,
       Picture({"...###....", "..#####...", "..#####...", "..#####...", "...###...."})},
      {PenStyle::kSolid, 0, 2, 2, 7, 2,
       Picture({"..........", "..........", "..#####...", "..........", ".........."})},
  };
  for (const Case& c : cases) {
    SmallBitmap canvas(10, 5);
    canvas.SetPen(c.style, c.width);
    canvas.Line(c.x0, c.y0, c.x1, c.y1);
    EXPECT_TRUE(SamePicture(canvas.Art(), c.art)) << "width " << c.width;
  }
}

TEST(WideLine, CoversThePixelsNearTheSegmentAndNoOthers) {
  const int32_t lines[][5] = {{3, 4, 30, 20, 3},
                              {30, 2, 8, 27, 6},
                              {5, 25, 35, 24, 4},
                              {20, 15, 20, 15, 7},
                              {-30000, -29990, 32000, 32010, 9}};
  for (const auto& l : lines) {
    SmallBitmap canvas(40, 30);
    canvas.SetPen(PenStyle::kSolid, static_cast<uint32_t>(l[4]));
    canvas.Line(l[0], l[1], l[2], l[3]);
    const double half = l[4] / 2.0;
    for (int32_t y = 0; y < 30; ++y) {
      for (int32_t x = 0; x < 40; ++x) {
        // Distance from the pixel centre to the segment.
        const double dx = l[2] - l[0], dy = l[3] - l[1];
        const double length = dx * dx + dy * dy;
        double t = length > 0 ? ((x - l[0]) * dx + (y - l[1]) * dy) / length : 0;
        t = std::clamp(t, 0.0, 1.0);
        const double ex = x - (l[0] + t * dx), ey = y - (l[1] + t * dy);
        const double distance = std::sqrt(ex * ex + ey * ey);
        const bool lit = canvas.bitmap().Row8(y)[x] != 0;
        EXPECT_TRUE(lit || distance >= half - 0.5) << x << "," << y << "\n" << canvas.Art();
        EXPECT_FALSE(lit && distance > half + 0.5) << x << "," << y << "\n" << canvas.Art();
      }
    }
  }
}

// Exclusive-or twice gives back the page only when no pixel of a primitive is drawn twice.
TEST(PenLines, ExclusiveOrTwiceRestoresThePage) {
  struct Case {
    PenStyle style;
    uint32_t width;
    int32_t x0, y0, x1, y1;
  };
  const Case cases[] = {
      {PenStyle::kSolid, 1, 1, 1, 38, 27},
      {PenStyle::kDashDot, 1, 38, 2, 1, 20},
      {PenStyle::kSolid, 4, 3, 25, 35, 4},
      {PenStyle::kSolid, 7, 20, 15, 22, 14},
  };
  for (const Case& c : cases) {
    SmallBitmap canvas(40, 30);
    canvas.SetPen(c.style, c.width);
    canvas.dc().SetBackgroundMode(BackgroundMode::kOpaque);
    canvas.dc().SetRasterOp(RasterOp::kXorPen);
    canvas.Line(c.x0, c.y0, c.x1, c.y1);
    EXPECT_GT(canvas.Count(0), 0);
    EXPECT_LT(canvas.Count(0), 40 * 30);
    canvas.Line(c.x0, c.y0, c.x1, c.y1);
    EXPECT_EQ(canvas.Count(0), 40 * 30) << canvas.Art();
  }
}

}  // namespace
}  // namespace lumivex::testing
