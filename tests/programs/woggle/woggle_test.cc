// woggle end to end with fixed ticks: pictures compared with the orbit computed here from the
// formulas and the same random draws, their k-fold symmetry, and the keys.
#include <gtest/gtest.h>
#include <lumivex/random.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "support/program_runner.h"
#include "woggle.h"

namespace lumivex::testing {
namespace {

using Extended = long double;

constexpr uint32_t kTicks = 2026;
constexpr int32_t kWidth = 800, kHeight = 600;
constexpr Extended kPi = 3.141592653589793238462643383279502884L;

bool Nearest(Extended v, int64_t& out) {
  if (!(fabsl(v) < 9.2e18L)) return false;
  out = static_cast<int64_t>(nearbyintl(v));
  return true;
}

// The next picture of the generator's sequence as the window should show it: RGB values, red
// in the low byte, black where nothing was plotted.
std::vector<uint32_t> NextPicture(int32_t* k_out = nullptr) {
  const int32_t k = RandomBelow(10) + 1;
  if (k_out != nullptr) *k_out = k;
  double ca[10], sa[10];
  for (int32_t i = 0; i < k; ++i) {
    ca[i] = double(cosl(((kPi * 2.0L) * i) / k));
    sa[i] = double(sinl(((kPi * 2.0L) * i) / k));
  }
  const double cx = 399.5, cy = 299.5, s = 149.75;
  const double q = double(sqrtl(k * 1.25L)), r = double(1.0L / q);
  std::vector<uint32_t> picture(kWidth * kHeight, 0);
  double x = 1.0, y = 1.0;
  for (int32_t step = 0; step < 1000000; ++step) {
    const int32_t j = RandomBelow(k);
    const double w = double(1.0L / (sqrtl((Extended(x) * x + Extended(y) * y) * 3.0L) * q));
    const double nx = double((-Extended(x)) * r + Extended(w) * y + ca[j]);
    const double ny = double((-Extended(x)) * w - Extended(r) * y + sa[j]);
    x = nx;
    y = ny;
    if (step < 100) continue;
    int64_t column, row, red, green, blue;
    const Extended ew = w;
    // Away from the origin every value converts.
    if (!(Nearest(s * Extended(x) + cx, column) && Nearest(s * Extended(y) + cy, row) &&
          Nearest(cosl(ew * kPi * 3.0L) * 64 + 72 + 255 * ew, blue) &&
          Nearest(sinl(ew * kPi * 8.0L) * 96 + 128, green) &&
          Nearest(sinl(ew * kPi * 10.0L) * 255 - 255 * ew + 64, red))) {
      ADD_FAILURE() << "step " << step << " does not convert";
      continue;
    }
    EXPECT_TRUE(green >= 32 && green <= 224);
    if (column < 0 || column >= kWidth || row < 0 || row >= kHeight) continue;
    picture[row * kWidth + column] =
        uint32_t(red & 255) | uint32_t(green << 8) | uint32_t((blue & 255) << 16);
  }
  return picture;
}

// Draws what a picture draws from the generator, without computing it.
void SkipPicture() {
  const int32_t k = RandomBelow(10) + 1;
  for (int32_t step = 0; step < 1000000; ++step)
    RandomBelow(k);
}

void ExpectPicture(const std::string& path, const std::vector<uint32_t>& expected) {
  Picture shot;
  ASSERT_TRUE(ReadPng(path, &shot)) << path;
  ASSERT_EQ(shot.width, kWidth);
  ASSERT_EQ(shot.height, kHeight);
  int32_t wrong = 0;
  for (size_t i = 0; i < expected.size(); ++i) {
    if (shot.pixels[i] == expected[i]) continue;
    if (wrong++ == 0) {
      ADD_FAILURE() << path << ": first difference at (" << i % kWidth << ", " << i / kWidth
                    << "): " << std::hex << shot.pixels[i] << " instead of " << expected[i];
    }
  }
  EXPECT_EQ(wrong, 0) << path;
}

// The share of lit pixels that, turned by `angle` about the centre (399.5, 299.5), land within
// one pixel of a lit pixel.
double RotationMatch(const Picture& shot, Extended angle) {
  auto lit = [&](int64_t x, int64_t y) {
    return x >= 0 && x < kWidth && y >= 0 && y < kHeight && shot.At(int32_t(x), int32_t(y)) != 0;
  };
  int64_t total = 0, matched = 0;
  for (int32_t y = 0; y < kHeight; ++y) {
    for (int32_t x = 0; x < kWidth; ++x) {
      if (!lit(x, y)) continue;
      ++total;
      const Extended dx = x - 399.5L, dy = y - 299.5L;
      const int64_t tx = llroundl(399.5L + dx * cosl(angle) - dy * sinl(angle));
      const int64_t ty = llroundl(299.5L + dx * sinl(angle) + dy * cosl(angle));
      bool near = false;
      for (int64_t oy = -1; oy <= 1 && !near; ++oy) {
        for (int64_t ox = -1; ox <= 1 && !near; ++ox)
          near = lit(tx + ox, ty + oy);
      }
      matched += near;
    }
  }
  return total == 0 ? 0 : double(matched) / double(total);
}

// The first picture, then an arrow key: its two codes give two more pictures before the program
// waits again, and Escape ends it.
TEST(WoggleTest, PicturesFollowTheFormulasAndTheKeys) {
  const std::string dir = TestDirectory();
  RunOptions options;
  options.environment = {{"LUMIVEX_TICKS", std::to_string(kTicks)}};
  options.script = "wait idle\nshot " + dir + "/first.png\nkey Right\nwait idle\nshot " + dir +
                   "/third.png\nkey Escape\n";
  options.time_limit = std::chrono::seconds(120);
  const RunResult run = RunProgram("woggle", options);
  ASSERT_FALSE(run.timed_out);
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.errors, "");

  SeedRandom(kTicks);
  int32_t k = 0;
  ExpectPicture(dir + "/first.png", NextPicture(&k));
  SkipPicture();
  ExpectPicture(dir + "/third.png", NextPicture());

  // Independent of the formulas above: the first picture (k = 3 for these ticks) is unchanged by
  // a turn through 2 pi / k about the centre, and not by a turn through half of that.
  ASSERT_EQ(k, 3);
  Picture first;
  ASSERT_TRUE(ReadPng(dir + "/first.png", &first));
  EXPECT_GT(RotationMatch(first, 2 * kPi / k), 0.95);
  EXPECT_LT(RotationMatch(first, kPi / k), 0.6);
}

// w = 1 / (sqrt(3 (x^2 + y^2)) q) has no finite value at the origin, nor where it overflows a
// double: the point then moves to the chosen offset, and the orbit goes on with finite values.
TEST(WoggleTest, AStepFromTheOriginMovesToTheOffset) {
  const woggle::PictureSetup p = woggle::SetUpPicture(4, 799, 599);
  const std::pair<double, double> starts[] = {
      {0.0, 0.0}, {-0.0, 0.0}, {1e-310, 0.0}, {0.0, -4e-320}};
  for (const auto& [start_x, start_y] : starts) {
    SCOPED_TRACE(std::to_string(start_x) + ", " + std::to_string(start_y));
    double x = start_x, y = start_y;
    EXPECT_TRUE(std::isinf(woggle::StepPoint(p, 1, x, y)));
    EXPECT_NEAR(x, 0.0, 1e-15);  // offset 1 of 4: (cos pi/2, sin pi/2)
    EXPECT_EQ(y, 1.0);
    const double w = woggle::StepPoint(p, 2, x, y);
    EXPECT_TRUE(std::isfinite(w) && std::isfinite(x) && std::isfinite(y));
  }
  // Away from the origin the step is the linear map and the shift: from (1, 1) with q = sqrt(5),
  // w = 1 / (sqrt(6) q) and the point goes to (-r + w, -w - r) + offset.
  double x = 1, y = 1;
  const Extended w = 1 / (sqrtl(6.0L) * sqrtl(5.0L));
  EXPECT_DOUBLE_EQ(woggle::StepPoint(p, 2, x, y), double(w));
  EXPECT_DOUBLE_EQ(x, double(-1 / sqrtl(5.0L) + w - 1));
  EXPECT_DOUBLE_EQ(y, double(-w - 1 / sqrtl(5.0L)));
}

TEST(WoggleTest, EndsWithAMessageWhenTheWindowCannotOpen) {
  ExpectEndsWhenTheWindowCannotOpen("woggle");
}

}  // namespace
}  // namespace lumivex::testing
