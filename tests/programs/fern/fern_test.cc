// The fern, end to end and headless: the whole picture is checked against the orbit computed
// here from the same seed.
#include <gtest/gtest.h>

#include <lumivex/numeric.h>
#include <lumivex/random.h>

#include <cmath>

#include "support/picture_check.h"
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

// The picture of a run seeded with `ticks`: 128000 steps of the four maps, each new point
// plotted at column [100 x'] + 320 and row [100 y'] (halves to even) where it lies on the
// 800 x 600 canvas.
Picture ExpectedFern(uint32_t ticks) {
  struct Map {
    double a, b, c, d, e, f;
  };
  static constexpr Map kMaps[5] = {{},
                                   {0, 0, 0, 0.16, 0, 0},
                                   {0.85, 0.04, -0.04, 0.85, 0, 1.6},
                                   {0.2, -0.26, 0.23, 0.22, 0, 1.6},
                                   {-0.15, 0.28, 0.26, 0.24, 0, 0.44}};
  Picture picture = BlackPicture(800, 600);
  SeedRandom(ticks);
  double x = 0, y = 0;
  for (int step = 0; step < 128000; ++step) {
    const int32_t r = RandomBelow(101) - 84;
    const Map& m = kMaps[r <= 0 ? 2 : r <= 7 ? 3 : r <= 15 ? 4 : 1];
    const double new_x = static_cast<double>(m.a * static_cast<Extended>(x) + m.b * y + m.e);
    const double new_y = static_cast<double>(m.c * static_cast<Extended>(x) + m.d * y + m.f);
    x = new_x;
    y = new_y;
    const auto column = static_cast<int64_t>(std::nearbyint(100 * static_cast<Extended>(x))) + 320;
    const auto row = static_cast<int64_t>(std::nearbyint(100 * static_cast<Extended>(y)));
    if (column >= 0 && column < 800 && row >= 0 && row < 600) {
      picture.pixels[static_cast<size_t>(row) * 800 + static_cast<size_t>(column)] = kFernGreen;
    }
  }
  return picture;
}

TEST(FernTest, TheLeafIsTheOrbitOfTheFourMaps) {
  DrawFern("1000", "fern.png");
  ExpectShot(TestDirectory() + "/fern.png", ExpectedFern(1000));
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
