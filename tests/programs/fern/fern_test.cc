// The fern, end to end and headless.
#include <gtest/gtest.h>

#include <set>

#include "support/program_runner.h"

namespace lumivex::testing {
namespace {

// The palette entry nearest to green 008000 in the default palette is 007000.
constexpr uint32_t kFernGreen = FromHex(0x007000);

Picture DrawFern(const std::string& ticks, const std::string& name) {
  RunOptions options;
  options.script = "wait idle\nshot " + name + "\nkey Escape\n";
  options.environment = {{"LUMIVEX_TICKS", ticks}};
  const RunResult result = RunProgram("fern", options);
  EXPECT_FALSE(result.timed_out);
  EXPECT_EQ(result.exit_code, 0) << result.errors;
  Picture picture;
  EXPECT_TRUE(ReadPng(TestDirectory() + "/" + name, &picture));
  return picture;
}

TEST(FernTest, GreenLeafOnBlackAroundTheStem) {
  const Picture picture = DrawFern("1000", "fern.png");
  ASSERT_EQ(picture.width, 800);
  ASSERT_EQ(picture.height, 600);
  int32_t left = 800, right = -1, green = 0, near_stem_top = 0;
  for (int32_t y = 0; y < 600; ++y) {
    for (int32_t x = 0; x < 800; ++x) {
      const uint32_t c = picture.At(x, y);
      if (c == 0) continue;
      ASSERT_EQ(c, kFernGreen) << x << "," << y;
      ++green;
      left = std::min(left, x);
      right = std::max(right, x);
      if (y < 30 && x >= 315 && x <= 325) ++near_stem_top;
    }
  }
  EXPECT_GE(left, 95);
  EXPECT_LE(right, 595);
  EXPECT_GT(near_stem_top, 0);
  // 128000 points, many landing on the same pixel or below the canvas.
  EXPECT_GT(green, 20000);
  EXPECT_LT(green, 128000);
}

TEST(FernTest, TheTicksDecideThePicture) {
  const Picture a = DrawFern("77", "a.png");
  const Picture b = DrawFern("77", "b.png");
  const Picture c = DrawFern("78", "c.png");
  EXPECT_EQ(a.pixels, b.pixels);
  EXPECT_NE(a.pixels, c.pixels);
}

TEST(FernTest, AKeyPressedWhileDrawingEndsTheWaitAtOnce) {
  RunOptions options;
  options.script = "wait opens 1\nkey x\n";
  const RunResult result = RunProgram("fern", options);
  EXPECT_FALSE(result.timed_out);
  EXPECT_EQ(result.exit_code, 0);
}

TEST(FernTest, TheCloseButtonEndsTheWait) {
  RunOptions options;
  options.script = "wait idle\nclose\n";
  const RunResult result = RunProgram("fern", options);
  EXPECT_FALSE(result.timed_out);
  EXPECT_EQ(result.exit_code, 0);
}

TEST(FernTest, AWindowThatCannotOpenEndsWithAMessage) {
  ExpectEndsWhenTheWindowCannotOpen("fern");
}

TEST(FernTest, ABadScriptStopsTheProgramBeforeItOpens) {
  RunOptions options;
  options.script = "wait idle\nkey Hyper\n";
  const RunResult result = RunProgram("fern", options);
  EXPECT_EQ(result.exit_code, 2);
  EXPECT_NE(result.errors.find("fern.script:2: unknown key 'Hyper'"), std::string::npos)
      << result.errors;
}

}  // namespace
}  // namespace lumivex::testing
