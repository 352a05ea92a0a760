// perlin_textures end to end, headless with a fixed tick count: every shown frame is compared
// with the picture computed here from the stated sampling, band and colour rules.
#include <gtest/gtest.h>
#include <lumivex/lumivex.h>
#include <lumivex/numeric.h>
#include <lumivex/random.h>

#include <cmath>
#include <string>

#include "noise/noise.h"
#include "noise/slice_matrix.h"
#include "support/picture_check.h"
#include "support/program_runner.h"

namespace lumivex::testing {
namespace {

using Variant = noise::PerlinTexturesVariant;

constexpr uint32_t kTicks = 77;
constexpr int32_t kMaxX = 639;

// The frame at depth w with band divisor p: pixel (c, r) of the 256 x 256 square sums
// |Noise3D(f M (c / 128, r / 128, w))| / f over f = 1, 2, ..., 32, the row followed by repeated
// addition; q = sin(T / p) 255 and the colour is the palette entry nearest to
// ([192 - q], [255 - q], 255), found by the library's own search on an open canvas.
Picture ExpectedFrame(double w, double p, const std::array<uint32_t, 256>& palette) {
  Picture picture = BlackPicture(640, 480);
  const noise::SliceMatrix m = noise::BuildSliceMatrix();
  for (int32_t r = 0; r < 256; ++r) {
    const double v = static_cast<double>(r / 128.0L);
    double x =
        static_cast<double>(static_cast<Extended>(m.m12) * v + static_cast<Extended>(m.m13) * w);
    double y =
        static_cast<double>(static_cast<Extended>(m.m22) * v + static_cast<Extended>(m.m23) * w);
    double z =
        static_cast<double>(static_cast<Extended>(m.m32) * v + static_cast<Extended>(m.m33) * w);
    const double dx = static_cast<double>(m.m11 * 0.0078125L);
    const double dy = static_cast<double>(m.m21 * 0.0078125L);
    const double dz = static_cast<double>(m.m31 * 0.0078125L);
    for (int32_t c = 0; c < 256; ++c) {
      double t = 0;
      for (double f = 1; f <= 32; f *= 2) {
        const double n = noise::Noise3D<Variant>(x * f, y * f, z * f);
        t = static_cast<double>(std::fabs(n * (1 / static_cast<Extended>(f))) + t);
      }
      const double q = static_cast<double>(std::sin(t / static_cast<Extended>(p)) * 255);
      const auto red = static_cast<uint16_t>(
          static_cast<int32_t>(std::nearbyint(192 - static_cast<Extended>(q))));
      const auto green = static_cast<uint16_t>(std::nearbyint(255 - static_cast<Extended>(q)));
      picture.pixels[static_cast<size_t>(r) * 640 + c] = palette[ColourFromRGB(red, green, 255)];
      x = static_cast<double>(x + static_cast<Extended>(dx));
      y = static_cast<double>(y + static_cast<Extended>(dy));
      z = static_cast<double>(z + static_cast<Extended>(dz));
    }
  }
  return picture;
}

double BandDivisor(uint16_t mouse_row) {
  return static_cast<double>(4 * static_cast<Extended>(mouse_row) / kMaxX);
}

// Frame k reads the mouse row after the page flip that starts it, so a move made while the
// program is held at flip k changes frame k, which flip k + 1 shows.
TEST(PerlinTextures, FramesFollowTheMouseRow) {
  const std::string dir = TestDirectory();
  auto shot = [&](int show) {
    return "wait shows " + std::to_string(show) + "\nshot " + dir + "/show" + std::to_string(show) +
           ".png\n";
  };
  // Frame 1: no mouse row yet; frame 2: row 300; frame 3: row 0 keeps the divisor (the column
  // plays no part); frame 4: row -5, read as 65531; the close button ends the program after
  // frame 5, which is never shown.
  const std::string script = shot(1) + shot(2) + "mouse 37 300\n" + shot(3) + "mouse 500 0\n" +
                             shot(4) + "mouse 12 -5 left\n" + shot(5) + "close\n" + shot(6);
  RunOptions options;
  options.script = script;
  options.environment = {{"LUMIVEX_TICKS", std::to_string(kTicks)}};
  const RunResult run = RunProgram("perlin_textures", options);
  ASSERT_FALSE(run.timed_out) << run.errors;
  EXPECT_EQ(run.exit_code, 0) << run.errors;

  // The first flip shows page 1, never drawn.
  ExpectShot(dir + "/show1.png", BlackPicture(640, 480));

  // The library's nearest-entry search under the default palette.
  int16_t driver = 3, mode = 4;
  OpenCanvas(driver, mode, "oracle");
  ASSERT_TRUE(CanvasIsOpen());
  SeedRandom(kTicks);
  noise::InitNoiseTables<Variant>();
  const auto palette = DefaultPaletteRgb();
  // Until the mouse gives a row the bands are those of the middle row, MaxY div 2.
  const double divisors[] = {BandDivisor(239), BandDivisor(300), BandDivisor(300),
                             BandDivisor(65531)};
  double w = 0;
  for (int frame = 1; frame <= 4; ++frame) {
    SCOPED_TRACE("frame " + std::to_string(frame));
    ExpectShot(dir + "/show" + std::to_string(frame + 1) + ".png",
               ExpectedFrame(w, divisors[frame - 1], palette));
    w = static_cast<double>(w + 0.01L);
  }
  CloseCanvas();
  Picture never;
  EXPECT_FALSE(ReadPng(dir + "/show6.png", &never));
}

// Any key ends the program after the frame in which it was noticed; that frame is never shown.
TEST(PerlinTextures, AnyKeyEndsAfterTheFrame) {
  const std::string dir = TestDirectory();
  for (const char* key : {"x", "Escape", "F1"}) {
    SCOPED_TRACE(key);
    RunOptions options;
    options.script = std::string("wait shows 1\nkey ") + key + "\nwait shows 2\nshot " + dir +
                     "/after-" + key + ".png\n";
    const RunResult run = RunProgram("perlin_textures", options);
    ASSERT_FALSE(run.timed_out) << run.errors;
    EXPECT_EQ(run.exit_code, 0) << run.errors;
    Picture never;
    EXPECT_FALSE(ReadPng(dir + "/after-" + key + ".png", &never));
  }
}

TEST(PerlinTextures, EndsWithAMessageWhenTheWindowCannotOpen) {
  ExpectEndsWhenTheWindowCannotOpen("perlin_textures");
}

}  // namespace
}  // namespace lumivex::testing
