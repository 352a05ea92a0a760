// The line routine and the blossom on a small canvas: coordinates rounded halves-to-even,
// ends without a coordinate skipped.
#include <gtest/gtest.h>

#include <limits>

#include "trees.h"
#include "unit/canvas_fixture.h"

namespace lumivex::testing {
namespace {

class TreeCanvasTest : public CanvasTest {
 protected:
  void SetUp() override { Open(3, 1); }  // 320 x 200, palette
};

TEST_F(TreeCanvasTest, LineRoutineRoundsHalvesToEven) {
  // ([2.5], [1.5]) = (2, 2) to ([2.5], [4.5]) = (2, 4); ([5.5], [0.5]) = (6, 0) to (6, 2).
  trees::DrawTreeLine(6, 2.5, 1.5, 2.5, 4.5);
  trees::DrawTreeLine(10, 5.5, 0.5, 6.4, 2.4);
  EXPECT_EQ(PageArt(0, 0, 0, 8, 6, std::string("\0\6\12", 3), ".bg"),
            Art({"......g.", "......g.", "..b...g.", "..b.....", "..b.....", "........"}));
  EXPECT_EQ(CurrentDrawingState().pen_colour, 10u);
}

TEST_F(TreeCanvasTest, AnEndWithoutACoordinateDrawsNothing) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double infinity = std::numeric_limits<double>::infinity();
  trees::DrawTreeLine(6, 1, 1, nan, 3);
  trees::DrawTreeLine(6, 1, 1, 3, infinity);
  trees::DrawTreeLine(6, -1e300, 1, 3, 3);
  trees::DrawBlossom(nan, 10, 3);
  for (int32_t y = 0; y < 200; ++y) {
    for (int32_t x = 0; x < 320; ++x)
      ASSERT_EQ(PageValue(0, x, y), 0u) << x << "," << y;
  }
}

TEST_F(TreeCanvasTest, BlossomIsAPinkDotOfRadiusThree) {
  trees::DrawBlossom(10.5, 9.5, 3);  // centre ([10.5], [9.5]) = (10, 10)
  const uint32_t pink = PredefinedColours[131];
  EXPECT_EQ(CurrentDrawingState().pen_colour, pink);
  for (auto [x, y] : {std::pair{10, 10}, {7, 10}, {13, 10}, {10, 7}, {10, 13}}) {
    EXPECT_EQ(PageValue(0, x, y), pink) << x << "," << y;
  }
  for (int32_t y = 0; y < 24; ++y) {
    for (int32_t x = 0; x < 24; ++x) {
      if (x < 7 || x > 13 || y < 7 || y > 13) {
        EXPECT_EQ(PageValue(0, x, y), 0u) << x << "," << y;
      }
    }
  }
}

}  // namespace
}  // namespace lumivex::testing
