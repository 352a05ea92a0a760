// plasma_family end to end on a small virtual screen with fixed ticks: the images compared with
// the formulas, the page-flip order, the undrawn last column and row, and the keys that end it.
#include <gtest/gtest.h>
#include <lumivex/random.h>

#include <sys/stat.h>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "support/program_runner.h"

namespace lumivex::testing {
namespace {

using Extended = long double;

constexpr uint32_t kTicks = 4242;
constexpr int32_t kWidth = 48, kHeight = 36;  // the virtual screen, so MaxX 47, MaxY 35
constexpr int32_t kPixels = (kWidth - 1) * (kHeight - 1);  // key tests per image
constexpr uint32_t kEntryZero = FromHex(0x0000FC);  // palette entry 0, the pages' first content

// The RGB value of palette entry 16 i + j: (16 i, 16 j, 252 - 16 i).
uint32_t EntryRgb(uint32_t index) {
  const uint32_t i = index >> 4, j = index & 15;
  return (16 * i) | ((16 * j) << 8) | ((252 - 16 * i) << 16);
}

// The next image of the generator's sequence as the page holds it after drawing.
std::vector<uint32_t> NextImage() {
  const double k = double((3.141592653589793238462643383279502884L / (kWidth - 1)) * 2 + 0.001L);
  const double a = RandomBelow(1020) + 8, b1 = RandomBelow(1000) + 1, c1 = RandomBelow(5) + 0.01,
               d1 = RandomBelow(5) + 0.01, b2 = RandomBelow(1000) + 1, c2 = RandomBelow(5) + 0.01,
               d2 = RandomBelow(5) + 0.01;
  std::vector<uint32_t> image(kWidth * kHeight, kEntryZero);
  for (int32_t y = 0; y < kHeight - 1; ++y) {
    for (int32_t x = 0; x < kWidth - 1; ++x) {
      const Extended ex = x, ey = y;
      const double v1 = double((sinl(ex * k * ey / b1) - sinl(Extended(k) * d1 * ey) * c1) * a);
      const double v2 = double((sinl(ey * k * ex / b2) - sinl(Extended(k) * d2 * ex) * c2) * a);
      const int64_t g = int64_t(fabsl(Extended(v2))) % 256;
      const int64_t h = int64_t(fabsl(Extended(v1) + v2)) % 256;
      image[y * kWidth + x] = EntryRgb(uint32_t((g & 240) | (h >> 4)));
    }
  }
  return image;
}

Picture Shot(const std::string& path) {
  Picture shot;
  EXPECT_TRUE(ReadPng(path, &shot)) << path;
  EXPECT_EQ(shot.width, kWidth);
  EXPECT_EQ(shot.height, kHeight);
  return shot;
}

void ExpectImage(const Picture& shot, const std::vector<uint32_t>& expected) {
  ASSERT_EQ(shot.pixels.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    ASSERT_EQ(shot.pixels[i], expected[i]) << "at (" << i % kWidth << ", " << i / kWidth << ")";
  }
}

bool Exists(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0;
}

RunResult RunPlasma(const std::string& script) {
  RunOptions options;
  options.environment = {
      {"LUMIVEX_TICKS", std::to_string(kTicks)},
      {"LUMIVEX_SCREEN", std::to_string(kWidth) + "x" + std::to_string(kHeight)}};
  options.script = script;
  return RunProgram("plasma_family", options);
}

// The first image builds up on page 0 while it is shown; the second flip shows page 0 again with
// the second image, the third flip page 1 with the third. A key while the fourth image is drawn
// ends the program before the next pixel.
TEST(PlasmaFamilyTest, ImagesPagesAndAKeyDuringAnImage) {
  const std::string dir = TestDirectory();
  const int32_t during_fourth = 3 * kPixels + 3 + kPixels / 2;
  const RunResult run = RunPlasma(
      "wait polls " + std::to_string(kPixels) + "\nshot " + dir + "/first.png\n" +
      "wait shows 2\nshot " + dir + "/second.png\nwait shows 3\nshot " + dir + "/third.png\n" +
      "wait polls " + std::to_string(during_fourth) + "\nkey a\n" + "wait polls " +
      std::to_string(during_fourth + 1) + "\nshot " + dir + "/after.png\n");
  ASSERT_FALSE(run.timed_out);
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.errors, "");
  EXPECT_FALSE(Exists(dir + "/after.png")) << "the program went on after the key";

  SeedRandom(kTicks);
  for (const char* name : {"first", "second", "third"}) {
    SCOPED_TRACE(name);
    const Picture shot = Shot(dir + "/" + name + ".png");
    ExpectImage(shot, NextImage());
    // Stated outright: V1 = V2 = 0 at (0, 0), V2 = 0 down column 0, and the last column and row
    // are never drawn.
    EXPECT_EQ(shot.At(0, 0), kEntryZero);
    for (int32_t y = 0; y < kHeight; ++y) {
      EXPECT_EQ(shot.At(0, y) & 0xFF, 0u) << "row " << y;
      EXPECT_EQ(shot.At(kWidth - 1, y), kEntryZero) << "row " << y;
    }
    for (int32_t x = 0; x < kWidth; ++x)
      EXPECT_EQ(shot.At(x, kHeight - 1), kEntryZero);
  }
}

// A key that arrives between the last pixel's test and the flip is seen by the test after the
// flip, which ends the program.
TEST(PlasmaFamilyTest, AKeyAtTheFlipEndsIt) {
  const std::string dir = TestDirectory();
  const RunResult run = RunPlasma("wait shows 1\nkey Escape\nwait polls " +
                                  std::to_string(kPixels + 2) + "\nshot " + dir + "/after.png\n");
  ASSERT_FALSE(run.timed_out);
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_FALSE(Exists(dir + "/after.png")) << "the program went on after the key";
}

TEST(PlasmaFamilyTest, EndsWithAMessageWhenTheWindowCannotOpen) {
  ExpectEndsWhenTheWindowCannotOpen("plasma_family");
}

// A screen one pixel wide gives a canvas with nothing to subdivide: the program says so and ends
// instead of dividing by zero.
TEST(PlasmaFamilyTest, EndsWithAMessageOnACanvasOnePixelWide) {
  RunOptions options;
  options.environment = {{"LUMIVEX_SCREEN", "1x10"}};
  const RunResult run = RunProgram("plasma_family", options);
  ASSERT_FALSE(run.timed_out);
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_NE(run.errors.find("plasma_family: the canvas is too narrow to draw on"),
            std::string::npos)
      << run.errors;
}

}  // namespace
}  // namespace lumivex::testing
