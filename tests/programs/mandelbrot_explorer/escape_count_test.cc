// The escape-time count and the limit step, on points whose orbits are known exactly.
#include <gtest/gtest.h>

#include "mandelbrot_explorer.h"

namespace mandelbrot_explorer {
namespace {

TEST(EscapeCountTest, CountsStepsFromCUntilTheSquaredModulusExceedsFour) {
  struct Case {
    double cx, cy;
    int32_t limit, steps;
    const char* orbit;
  };
  const Case cases[] = {
      {-2.5, 0, 256, 1, "c itself is outside; its step is still counted"},
      {1, 0, 256, 3, "1, 2 (squared modulus exactly 4 goes on), 5"},
      {0, 2, 256, 2, "2i (exactly 4 goes on), -4 + 2i"},
      {-2, 0, 256, 257, "-2, then 2 for ever: exactly 4 never escapes"},
      {0, 0, 256, 257, "stays at 0: one more than the limit"},
      {0, 0, 512, 513, "stays at 0"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EscapeCount(c.cx, c.cy, c.limit), c.steps) << c.orbit;
  }
}

TEST(EscapeCountTest, TheLimitRisesInStepsOf256UpToTheLargestThatFits) {
  EXPECT_EQ(RaisedLimit(256), 512);
  EXPECT_EQ(RaisedLimit(kLargestLimit - 256), kLargestLimit);
  EXPECT_EQ(RaisedLimit(kLargestLimit), kLargestLimit);
}

}  // namespace
}  // namespace mandelbrot_explorer
