// DrawLineTo, DrawLine, DrawArc and DrawCircle on an open canvas (256-colour palette, 320 x 200),
// checked pixel by pixel on the pages.
#include <cmath>
#include <set>
#include <utility>

#include "raster/raster_art.h"
#include "unit/canvas_fixture.h"

namespace lumivex::testing {
namespace {

using Points = std::set<std::pair<int32_t, int32_t>>;

// Page values 0, 5, 9 and 5 xor 9 as '.', 'b', '#' and 'x'.
const std::string kValues("\x00\x05\x09\x0c", 4);
const std::string kChars = ".b#x";
constexpr Colour kPen = 9;
constexpr Colour kBack = 5;

class LinesTest : public CanvasTest {
 protected:
  void OpenSmall() {
    Open(3, 1);
    SetPenColour(kPen);
    SetBackColour(kBack);
  }
};

Points PagePoints(int page, int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
  Points points;
  for (int32_t y = y0; y <= y1; ++y) {
    for (int32_t x = x0; x <= x1; ++x) {
      if (PageValue(page, x, y) != 0) points.emplace(x, y);
    }
  }
  return points;
}

TEST_F(LinesTest, ZeroLengthLines) {
  OpenSmall();
  SetLineStyle(0, 0, 1);
  DrawLine(10, 10, 10, 10);
  EXPECT_TRUE(SamePicture(PageArt(0, 9, 9, 3, 3, kValues, kChars), Picture({"...", ".#.", "..."})));
  SetLineStyle(5, 0xFFFF, 1);
  DrawLine(20, 20, 20, 20);
  EXPECT_TRUE(
      SamePicture(PageArt(0, 19, 19, 3, 3, kValues, kChars), Picture({"...", "...", "..."})));
  EXPECT_EQ(CurrentDrawingState().current_x, 20);
  EXPECT_EQ(CurrentDrawingState().current_y, 20);
}

TEST_F(LinesTest, LinesByStyleAndThickness) {
  struct Case {
    uint16_t style, thickness;
    std::string art;
  };
  const Case cases[] = {
      // The pen draws x = 2..6, the end pixel adds x = 7.
      {0, 1, Picture({"..........", "..........", "..######..", "..........", ".........."})},
      // A wide line and no end pixel.
      {0, 3, Picture({"..........", ".########.", ".########.", ".########.", ".........."})},
      // One pixel wide, without the end pixel.
      {0, 0, Picture({"..........", "..........", "..#####...", "..........", ".........."})},
      // The invisible line of thickness 1 still gets its end pixel, a wider one nothing.
      {6, 1, Picture({"..........", "..........", ".......#..", "..........", ".........."})},
      {6, 3, Picture({"..........", "..........", "..........", "..........", ".........."})},
  };
  for (const Case& c : cases) {
    OpenSmall();
    SetLineStyle(c.style, 0, c.thickness);
    DrawLine(2, 2, 7, 2);
    EXPECT_TRUE(SamePicture(PageArt(0, 0, 0, 10, 5, kValues, kChars), c.art))
        << "style " << c.style << ", thickness " << c.thickness;
    EXPECT_EQ(CurrentDrawingState().current_x, 7);
    CloseCanvas();
  }
}

TEST_F(LinesTest, UserPatternLines) {
  OpenSmall();
  SetLineStyle(5, 0x0001, 1);
  DrawLine(0, 0, 40, 0);
  SetLineStyle(5, 0xFFFF, 1);
  DrawLine(0, 1, 40, 1);
  // Two lines: the pattern starts again at bit 0.
  SetLineStyle(5, 0x0001, 1);
  MovePen(0, 2);
  DrawLineTo(20, 2);
  DrawLineTo(40, 2);
  // Thickness and write mode do not apply: plain copies over the back colour.
  SetFillStyle(1, kBack);
  FillBar(0, 3, 40, 3);
  SetLineStyle(5, 0x8421, 7);
  SetWriteMode(1);
  DrawLine(0, 3, 40, 3);
  EXPECT_TRUE(SamePicture(PageArt(0, 0, 0, 41, 5, kValues, kChars),
                          Picture({
                              "#...............#...............#........",
                              "########################################.",
                              "#...............#...#...............#....",
                              "#bbbb#bbbb#bbbb##bbbb#bbbb#bbbb##bbbb#bbb",
                              ".........................................",
                          })));
}

TEST_F(LinesTest, UserPatternWalkSkipsWhatCannotLand) {
  OpenSmall();
  SetLineStyle(5, 0x0001, 1);
  DrawLine(-32768, 50, 32767, 50);
  Points expected;
  for (int32_t x = 0; x < 320; x += 16)
    expected.emplace(x, 50);
  EXPECT_EQ(PagePoints(0, 0, 49, 319, 51), expected);
}

TEST_F(LinesTest, WriteModesApplyToThePenButNotToTheEndPixel) {
  OpenSmall();
  SetFillStyle(1, kBack);
  FillBar(0, 0, 9, 1);
  SetWriteMode(1);
  DrawLine(0, 0, 5, 0);
  SetLineStyle(1, 0, 1);  // dotted, transparent gaps
  DrawLine(0, 1, 9, 1);
  EXPECT_TRUE(
      SamePicture(PageArt(0, 0, 0, 10, 2, kValues, kChars), Picture({"xxxxx#bbbb", "xxxbbbxxx#"})));
  // Exclusive-or again: the pen's pixels come back, the plain end pixels stay.
  SetLineStyle(0, 0, 1);
  DrawLine(0, 0, 5, 0);
  EXPECT_TRUE(SamePicture(PageArt(0, 0, 0, 10, 1, kValues, kChars), Picture({"bbbbb#bbbb"})));
}

TEST_F(LinesTest, DashedLinesInOpaqueAndTransparentMode) {
  struct Case {
    int16_t write_mode;
    const char* art;
  };
  const Case cases[] = {
      {16, "##################bbbbbb#######"},
      {0, "##################......#######"},
  };
  for (const Case& c : cases) {
    OpenSmall();
    SetLineStyle(3, 0, 1);
    SetWriteMode(c.write_mode);
    DrawLine(0, 0, 30, 0);
    EXPECT_TRUE(SamePicture(PageArt(0, 0, 0, 31, 1, kValues, kChars), std::string(c.art) + "\n"))
        << "write mode " << c.write_mode;
    CloseCanvas();
  }
}

TEST_F(LinesTest, CircleSpansItsDiameterAndVanishesWithStyleSix) {
  OpenSmall();
  DrawCircle(100, 100, 10);
  const Points lit = PagePoints(0, 80, 80, 120, 120);
  int32_t left = 999, right = -1, top = 999, bottom = -1;
  for (const auto& [x, y] : lit) {
    left = std::min(left, x), right = std::max(right, x);
    top = std::min(top, y), bottom = std::max(bottom, y);
  }
  EXPECT_EQ(left, 90);
  EXPECT_EQ(right, 110);
  EXPECT_EQ(top, 90);
  EXPECT_EQ(bottom, 110);

  SetDrawPage(1);
  SetLineStyle(6, 0, 1);
  DrawCircle(100, 100, 10);
  SetLineStyle(5, 0xFFFF, 1);
  DrawCircle(100, 100, 10);
  EXPECT_TRUE(PagePoints(1, 80, 80, 120, 120).empty());
}

TEST_F(LinesTest, QuarterArcAndItsComplement) {
  OpenSmall();
  DrawArc(100, 100, 0, 90, 20, 10);
  SetDrawPage(1);
  DrawArc(100, 100, 90, 0, 20, 10);
  SetDrawPage(2);
  DrawArc(100, 100, 0, 360, 20, 10);
  const Points quarter = PagePoints(0, 70, 80, 130, 120), rest = PagePoints(1, 70, 80, 130, 120),
               full = PagePoints(2, 70, 80, 130, 120);
  for (const auto& [x, y] : quarter)
    EXPECT_TRUE(x >= 100 && y <= 100) << x << "," << y;
  Points either = quarter, both;
  for (const auto& p : rest) {
    either.insert(p);
    if (quarter.count(p)) both.insert(p);
  }
  EXPECT_EQ(either, full);
  EXPECT_EQ(both, (Points{{120, 100}, {100, 90}}));
}

TEST_F(LinesTest, AnglesAreWholeDegreesModuloATurn) {
  struct Case {
    uint16_t angle, same_as;
  };
  const Case cases[] = {{450, 90}, {65446, 286}};
  for (const Case& c : cases) {
    OpenSmall();
    DrawArc(100, 100, 30, c.angle, 20, 10);
    SetDrawPage(1);
    DrawArc(100, 100, 30, c.same_as, 20, 10);
    EXPECT_FALSE(PagePoints(0, 70, 80, 130, 120).empty());
    EXPECT_EQ(PagePoints(0, 70, 80, 130, 120), PagePoints(1, 70, 80, 130, 120)) << c.angle;
    CloseCanvas();
  }
}

TEST_F(LinesTest, ClippingViewportLimitsLinesAndArcs) {
  OpenSmall();
  auto draw = [] {
    SetLineStyle(0, 0, 1);
    DrawLine(-20, 5, 40, 12);
    DrawLine(3, -30, 3, 50);
    DrawCircle(3, 3, 12);
    SetLineStyle(1, 0, 3);
    DrawArc(15, 15, 200, 20, 9, 14);
    SetLineStyle(5, 0xF0F0, 1);
    DrawLine(-10, 18, 30, 2);
  };
  // Page 1 unclipped, page 0 clipped to the viewport 50..69 x 40..59.
  SetDrawPage(1);
  SetView(50, 40, 69, 59, false);
  draw();
  SetDrawPage(0);
  SetView(50, 40, 69, 59, true);
  draw();
  Points inside;
  for (const auto& [x, y] : PagePoints(1, 20, 10, 100, 90)) {
    if (x >= 50 && x <= 69 && y >= 40 && y <= 59) inside.emplace(x, y);
  }
  EXPECT_FALSE(inside.empty());
  EXPECT_EQ(PagePoints(0, 20, 10, 100, 90), inside);
}

TEST_F(LinesTest, DrawingOnThePageOnShowReachesTheWindow) {
  OpenSmall();
  DrawLine(0, 0, 9, 0);
  DrawCircle(30, 30, 5);
  FlushPainting();
  EXPECT_EQ(SurfaceRgb(4, 0), PageRgb(0, 4, 0));
  EXPECT_EQ(SurfaceRgb(35, 30), PageRgb(0, 35, 30));
  EXPECT_NE(SurfaceRgb(35, 30), 0u);
  SetDrawPage(1);
  DrawLine(0, 2, 9, 2);
  FlushPainting();
  EXPECT_EQ(SurfaceRgb(4, 2), 0u);
}

TEST_F(LinesTest, AspectRatioScalesTheRadii) {
  OpenSmall();
  SetAspectRatio(5000, 10000);
  DrawCircle(100, 100, 10);
  const Points lit = PagePoints(0, 70, 80, 130, 120);
  ASSERT_FALSE(lit.empty());
  EXPECT_EQ(lit.begin()->first, 80);
  EXPECT_EQ(lit.rbegin()->first, 120);
  // A zero aspect has no meaning: nothing is drawn and the call reports a bad argument.
  SetDrawPage(1);
  SetAspectRatio(0, 10000);
  DrawCircle(100, 100, 10);
  EXPECT_EQ(CanvasStatus(), kStatusOutOfRange);
  EXPECT_TRUE(PagePoints(1, 70, 80, 130, 120).empty());
}

TEST_F(LinesTest, FarCoordinatesAndWrappingOrigins) {
  OpenSmall();
  DrawLine(-32768, -32768, 32767, 32767);
  for (int32_t i = 0; i < 200; i += 37) {
    EXPECT_EQ(PageValue(0, i, i), kPen);
    EXPECT_EQ(PageValue(0, i + 1, i), 0u);
  }
  // A circle through the canvas from far away: every pixel it leaves lies on it.
  SetDrawPage(1);
  DrawCircle(-32768, -32768, 46450);
  const Points arc = PagePoints(1, 0, 0, 319, 199);
  EXPECT_GT(arc.size(), 100u);
  for (const auto& [x, y] : arc) {
    EXPECT_LE(std::abs(std::hypot(x + 32768.0, y + 32768.0) - 46450), 0.75) << x << "," << y;
  }
  // Device coordinates wrap at 16 bits: with the origin at -32768, -32768 is device 0, for the
  // pen and for the pattern walk alike.
  SetDrawPage(2);
  SetView(-32768, 0, 0, 199, false);
  DrawLine(-32768, 5, -32760, 5);
  SetLineStyle(5, 0xFFFF, 1);
  DrawLine(-32768, 7, -32760, 7);
  EXPECT_TRUE(SamePicture(PageArt(2, 0, 5, 10, 3, kValues, kChars),
                          Picture({"#########.", "..........", "########.."})));
}

TEST_F(LinesTest, ClosedCanvasDrawsNothing) {
  DrawLineTo(1, 1);
  EXPECT_EQ(CanvasStatus(), kStatusNotOpen);
  DrawLine(0, 0, 1, 1);
  EXPECT_EQ(CanvasStatus(), kStatusNotOpen);
  DrawArc(0, 0, 0, 90, 5, 5);
  EXPECT_EQ(CanvasStatus(), kStatusNotOpen);
  DrawCircle(0, 0, 5);
  EXPECT_EQ(CanvasStatus(), kStatusNotOpen);
}

}  // namespace
}  // namespace lumivex::testing
