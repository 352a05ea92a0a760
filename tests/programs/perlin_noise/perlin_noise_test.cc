// perlin_noise end to end, headless with a fixed tick count: every shown frame is compared with
// the picture computed here from the stated sampling, colour and key rules.
#include <gtest/gtest.h>
#include <lumivex/numeric.h>
#include <lumivex/random.h>

#include <string>

#include "noise/noise.h"
#include "noise/slice_matrix.h"
#include "support/picture_check.h"
#include "support/program_runner.h"

namespace lumivex::testing {
namespace {

using Variant = noise::PerlinNoiseVariant;

constexpr uint32_t kTicks = 2026;
constexpr int32_t kLeft = 169;  // the square: columns 169..468, rows 89..388 of 640 x 480
constexpr int32_t kTop = 89;

// The frame drawn with scale s at time t: pixel (169 + j, 89 + i) samples M (j / s, i / s, t / 2),
// the column followed by repeated addition; the colour is [(n + 1) 127.5] + 180 modulo 256.
Picture ExpectedFrame(double s, double t, const std::array<uint32_t, 256>& palette) {
  Picture picture = BlackPicture(640, 480);
  const noise::SliceMatrix m = noise::BuildSliceMatrix();
  const double w = static_cast<double>(static_cast<Extended>(t) / 2);
  for (int32_t i = 0; i < 300; ++i) {
    const double v = static_cast<double>(i / static_cast<Extended>(s));
    double x =
        static_cast<double>(static_cast<Extended>(m.m12) * v + static_cast<Extended>(m.m13) * w);
    double y =
        static_cast<double>(static_cast<Extended>(m.m22) * v + static_cast<Extended>(m.m23) * w);
    double z =
        static_cast<double>(static_cast<Extended>(m.m32) * v + static_cast<Extended>(m.m33) * w);
    const double k = static_cast<double>(1 / static_cast<Extended>(s));
    const double dx = static_cast<double>(m.m11 * static_cast<Extended>(k));
    const double dy = static_cast<double>(m.m21 * static_cast<Extended>(k));
    const double dz = static_cast<double>(m.m31 * static_cast<Extended>(k));
    for (int32_t j = 0; j < 300; ++j) {
      const double n = noise::Noise3D<Variant>(x, y, z);
      const auto level = static_cast<int64_t>(std::nearbyint((n + 1.0L) * 127.5L)) + 180;
      picture.pixels[static_cast<size_t>(kTop + i) * 640 + kLeft + j] = palette[level % 256];
      x = static_cast<double>(x + static_cast<Extended>(dx));
      y = static_cast<double>(y + static_cast<Extended>(dy));
      z = static_cast<double>(z + static_cast<Extended>(dz));
    }
  }
  return picture;
}

// All keys are queued before the first frame and taken one per frame, at its end; the new
// scale holds from the next frame. Frame k is shown by the page flip that starts frame k + 1.
TEST(PerlinNoise, FramesFollowTheKeysOnePerFrame) {
  const std::string dir = TestDirectory();
  // Keys read at the end of frames 1..16: "a"; upper-case "A" (nothing); Ctrl+F4 (0, 97, acts
  // as "a"); the close button (0, 107, nothing); "q" (nothing); eight "a" (up to 100, then wrap
  // to 4); "z" (wrap to 100); "z"; Escape.
  std::string script = "wait shows 1\nshot " + dir + "/show1.png\n" +
                       "key a\nkey A\nkey Ctrl+F4\nclose\nkey q\ntext aaaaaaaa\nkey z\nkey z\n" +
                       "key Escape\n";
  for (int show = 2; show <= 17; ++show) {
    script += "wait shows " + std::to_string(show) + "\nshot " + dir + "/show" +
              std::to_string(show) + ".png\n";
  }
  RunOptions options;
  options.script = script;
  options.environment = {{"LUMIVEX_TICKS", std::to_string(kTicks)}};
  const RunResult run = RunProgram("perlin_noise", options);
  ASSERT_FALSE(run.timed_out) << run.errors;
  EXPECT_EQ(run.exit_code, 0) << run.errors;

  // The first flip shows page 0, never drawn.
  ExpectShot(dir + "/show1.png", BlackPicture(640, 480));

  SeedRandom(kTicks);
  noise::InitNoiseTables<Variant>();
  const auto palette = DefaultPaletteRgb();
  const double scales[] = {64, 68, 68, 72, 72, 72, 76, 80, 84, 88, 92, 96, 100, 4, 100};
  double t = 0;
  for (int frame = 1; frame <= 15; ++frame) {
    SCOPED_TRACE("frame " + std::to_string(frame) + ", scale " + std::to_string(scales[frame - 1]));
    ExpectShot(dir + "/show" + std::to_string(frame + 1) + ".png",
               ExpectedFrame(scales[frame - 1], t, palette));
    t = static_cast<double>(t + 0.1L);
  }
  // Frame 16, in which Escape was read, is never shown: the program ends after it.
  Picture never;
  EXPECT_FALSE(ReadPng(dir + "/show17.png", &never));
}

TEST(PerlinNoise, EndsWithAMessageWhenTheWindowCannotOpen) {
  ExpectEndsWhenTheWindowCannotOpen("perlin_noise");
}

}  // namespace
}  // namespace lumivex::testing
