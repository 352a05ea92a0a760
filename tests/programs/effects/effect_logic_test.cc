// The effects' tables, colours and frame counters, without a window: cells go into a plain grid.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

#include "effect_reference.h"
#include "effects.h"

namespace {

// Cells as plain values modulo 256, read back exactly as painted.
struct CellGrid {
  std::vector<uint8_t> values = std::vector<uint8_t>(320 * 320, 0);
  void Paint(int32_t x, int32_t y, int32_t colour) {
    values[static_cast<size_t>(y) * 320 + x] = static_cast<uint8_t>(colour);
  }
  int32_t Read(int32_t x, int32_t y) const { return values[static_cast<size_t>(y) * 320 + x]; }
};

TEST(EffectTables, SineTablesTruncateTowardZero) {
  struct Case {
    int32_t k, a, i, value;
  };
  // sin(2/27)*115 = 8.51, sin(-1/25)*47 = -1.88, sin(4/25)*48 = 7.65: rounding would differ.
  for (const Case& c :
       {Case{35, 35, 0, 0}, Case{35, 35, 1, 0}, Case{27, 115, 2, 8}, Case{25, 47, -1, -1},
        Case{53, 32, -3, -1}, Case{25, 48, 4, 7}, Case{35, 35, 55, 34}, Case{35, 35, -55, -34}}) {
    const effects::SineTable table(c.k, c.a, -100, 100);
    EXPECT_EQ(table[c.i], c.value) << "SineTable(" << c.k << ", " << c.a << ")[" << c.i << "]";
  }
}

TEST(EffectTables, FoldTableKeepsRemaindersModulo255) {
  const effects::FoldTable fold(-3000, 3000, effects::FoldRule{});
  struct Case {
    int32_t i, value;
  };
  for (const Case& c : {Case{255, 255}, Case{256, 1}, Case{-1, 254}, Case{-255, 0}, Case{0, 0},
                        Case{1, 1}, Case{3000, 195}, Case{-3000, 60}}) {
    EXPECT_EQ(fold[c.i], c.value) << "F[" << c.i << "]";
  }
}

TEST(EffectTables, StripesAreSixteenWideWithGapsOfSixteenUpTo1007) {
  const effects::StripeTable stripes(-1024, 1024, effects::StripeRule{2});
  struct Case {
    int32_t k, value;
  };
  for (const Case& c :
       {Case{-1024, 2}, Case{-1009, 2}, Case{-1008, 0}, Case{-993, 0}, Case{-992, 2}, Case{0, 2},
        Case{15, 2}, Case{16, 0}, Case{992, 2}, Case{1007, 2}, Case{1008, 0}, Case{1024, 0}}) {
    EXPECT_EQ(stripes[c.k], c.value) << "k = " << c.k;
  }
}

// The colours the formulas give for cell (0, 0) of frame 1 (effect 7: cell (1, 1) with
// s = -128), from the program and from the reference the end-to-end tests compare with.
TEST(EffectColours, FrameOneGivesTheStatedColours) {
  const auto e1 = effects::Effect1Animation::Prepare();
  const auto e2 = effects::Effect2Animation::Prepare();
  const auto e3 = effects::Effect3Animation::Prepare();
  const auto e4 = effects::Effect4Animation::Prepare();
  const auto e5 = effects::Effect5Animation::Prepare();
  const auto e6 = effects::Effect6Animation::Prepare();
  const auto e7 = effects::Effect7Animation::Prepare();
  namespace ref = effects_reference;
  struct Case {
    int effect;
    int64_t program, reference, stated;
  };
  for (const Case& c : {Case{1, e1.Colour(1, 0, 0), ref::Effect1(1, 0, 0), -1},
                        Case{2, e2.Colour(1, 0, 0), ref::Effect2(1, 0, 0), 8},
                        Case{3, e3.Colour(1, 0, 0), ref::Effect3(1, 0, 0), 21},
                        Case{4, e4.Colour(1, 0, 0), ref::Effect4(1, 0, 0), 3},
                        Case{5, e5.Colour(1, 0, 0), ref::Effect5(1, 0, 0), 10},
                        Case{6, e6.Colour(1, 0, 0), ref::Effect6(1, 0, 0), 3},
                        Case{7, e7.Colour(1, -128, 1, 1), ref::Effect7(1, 1, 1), -104}}) {
    EXPECT_EQ(c.program, c.stated) << "effect " << c.effect;
    EXPECT_EQ(c.reference, c.stated) << "reference of effect " << c.effect;
  }
  // -1 is painted with entry 255, -104 with entry 152.
  EXPECT_EQ(static_cast<uint8_t>(e1.Colour(1, 0, 0)), 255);
  EXPECT_EQ(static_cast<uint8_t>(e7.Colour(1, -128, 1, 1)), 152);
}

// Effects 1 to 5 index past the ends of their tables from frames 8682, 667, 722, 1363 and 881
// on. The frames up to there read only the tables; past them every cell must still have the
// colour of the formulas with the sines computed for any index, up to the last frame before
// the 32-bit counter wraps.
template <typename Animation>
void ExpectFramesFollowTheFormulas(int64_t (*reference)(int64_t, int64_t, int64_t),
                                   int32_t last_frame_inside) {
  const Animation animation = Animation::Prepare();
  for (int32_t t :
       {last_frame_inside, last_frame_inside + 1, std::numeric_limits<int32_t>::max()}) {
    int64_t wrong = 0;
    for (int32_t y = 0; y <= effects::kLastRow; ++y) {
      for (int32_t x = 0; x <= effects::kLastColumn; ++x) {
        const int32_t want = static_cast<int32_t>(reference(t, x, y));
        if (animation.Colour(t, x, y) != want && wrong++ == 0) {
          ADD_FAILURE() << "frame " << t << " cell (" << x << ", " << y
                        << "): " << animation.Colour(t, x, y) << ", expected " << want;
        }
      }
    }
    EXPECT_EQ(wrong, 0) << "frame " << t;
  }
}

TEST(EffectColours, FramesPastTheTableEndsGoOnWithTheSameFormulas) {
  namespace ref = effects_reference;
  ExpectFramesFollowTheFormulas<effects::Effect1Animation>(ref::Effect1, 8681);
  ExpectFramesFollowTheFormulas<effects::Effect2Animation>(ref::Effect2, 666);
  ExpectFramesFollowTheFormulas<effects::Effect3Animation>(ref::Effect3, 721);
  ExpectFramesFollowTheFormulas<effects::Effect4Animation>(ref::Effect4, 1362);
  ExpectFramesFollowTheFormulas<effects::Effect5Animation>(ref::Effect5, 880);
}

TEST(EffectFrames, TheUnboundedCounterWrapsAtTheEndOfItsRange) {
  EXPECT_EQ(effects::NextUnboundedFrame(std::numeric_limits<int32_t>::max()),
            std::numeric_limits<int32_t>::min());
  EXPECT_EQ(effects::NextUnboundedFrame(8681), 8682);
}

// Effect 6 runs t = 1..156, 0, 1, ...: its picture repeats every 157 frames.
TEST(EffectFrames, Effect6RepeatsEvery157Frames) {
  auto animation = effects::Effect6Animation::Prepare();
  CellGrid first, grid;
  animation.PaintFrame(first);
  for (int frame = 2; frame <= 157; ++frame)
    animation.PaintFrame(grid);
  EXPECT_EQ(animation.t(), 0);
  animation.PaintFrame(grid);  // frame 158
  EXPECT_EQ(animation.t(), 1);
  EXPECT_EQ(grid.values, first.values);
}

// Effect 7's shift changes sign before every cell and is never reset: in frame n a cell has
// s = -128 where x + y + n is odd. Its counter runs 1..281, 0, 1, ...
TEST(EffectFrames, Effect7CheckerboardInvertsEveryFrameAndTheCounterCyclesAfter281) {
  auto animation = effects::Effect7Animation::Prepare();
  CellGrid grid;
  for (int32_t n = 1; n <= 283; ++n) {
    animation.PaintFrame(grid);
    EXPECT_EQ(animation.t(), n % 282);
    if (n > 3 && n < 282) continue;
    int64_t wrong = 0;
    for (int32_t y = 1; y <= effects::kLastRow; ++y) {
      for (int32_t x = 1; x <= effects::kLastColumn; ++x) {
        const int32_t s = (x + y + n) % 2 != 0 ? -128 : 128;
        if (grid.Read(x, y) != static_cast<uint8_t>(animation.Colour(animation.t(), s, x, y))) {
          ++wrong;
        }
      }
    }
    EXPECT_EQ(wrong, 0) << "frame " << n;
  }
  // Cell row 0 and column 0 were never painted.
  for (int32_t i = 0; i <= effects::kLastColumn; ++i)
    EXPECT_EQ(grid.Read(i, 0), 0);
  for (int32_t i = 0; i <= effects::kLastRow; ++i)
    EXPECT_EQ(grid.Read(0, i), 0);
}

TEST(Effect8, WavesAndWaveHeights) {
  struct Case {
    int32_t k;
    int16_t dx, dy;
  };
  for (const Case& c : {Case{0, 2000, 0}, Case{1, 618, 2283}, Case{2, -1618, 1411},
                        Case{3, -1618, -1411}, Case{4, 618, -2283}}) {
    const auto wave = effects::Effect8Animation::WaveOf(0, c.k);
    EXPECT_EQ(static_cast<int16_t>(wave.dx), c.dx) << "wave " << c.k;
    EXPECT_EQ(static_cast<int16_t>(wave.dy), c.dy) << "wave " << c.k;
  }
  const auto animation = effects::Effect8Animation::Prepare();
  EXPECT_EQ(animation.WaveHeight(0), 0);
  EXPECT_EQ(animation.WaveHeight(64), 64);
  EXPECT_EQ(animation.WaveHeight(128), 0);
  EXPECT_EQ(animation.WaveHeight(192), -64);
  for (int i = 0; i < 256; ++i) {
    EXPECT_EQ(animation.WaveHeight(static_cast<uint8_t>(i)), effects_reference::WaveHeight(i));
  }
}

// On cells that read back exactly what was painted, a frame leaves the cleared value plus the
// five waves' heights at each cell; f runs 0..1000, 0, ...
TEST(Effect8, FrameSumsTheFiveWavesAtEveryCell) {
  auto animation = effects::Effect8Animation::Prepare();
  for (int32_t f = 0; f <= 1; ++f) {
    CellGrid grid;
    for (uint8_t& v : grid.values)
      v = 7;
    animation.PaintFrame(grid);
    EXPECT_EQ(animation.f(), f + 1);
    effects_reference::Wave waves[5];
    for (int k = 0; k < 5; ++k)
      waves[k] = effects_reference::WaveOf(f, k);
    int64_t wrong = 0;
    for (int32_t y = 0; y <= effects::kLastRow; ++y) {
      for (int32_t x = 0; x <= effects::kLastColumn; ++x) {
        int64_t want = 7;
        for (const auto& wave : waves)
          want += effects_reference::WaveAt(f, wave, x, y);
        if (grid.Read(x, y) != static_cast<uint8_t>(want)) ++wrong;
      }
    }
    EXPECT_EQ(wrong, 0) << "f = " << f;
    if (f == 0) {
      EXPECT_EQ(grid.Read(160, 120), 7);
    }
  }
  EXPECT_EQ(effects::NextEffect8Frame(999), 1000);
  EXPECT_EQ(effects::NextEffect8Frame(1000), 0);
}

// The palettes the end-to-end tests compare with, against the colours stated for them.
TEST(ReferencePalettes, HoldTheStatedColours) {
  namespace ref = effects_reference;
  const ref::Palette ramp = ref::RampPalette();
  EXPECT_EQ(ramp[0], ref::Rgb(0, 0, 0));
  EXPECT_EQ(ramp[63], ref::Rgb(252, 168, 0));
  EXPECT_EQ(ramp[64], ref::Rgb(252, 168, 0));
  EXPECT_EQ(ramp[127], ref::Rgb(0, 252, 0));
  EXPECT_EQ(ramp[128], ref::Rgb(0, 252, 0));
  EXPECT_EQ(ramp[191], ref::Rgb(84, 0, 252));
  EXPECT_EQ(ramp[192], ref::Rgb(84, 0, 252));
  EXPECT_EQ(ramp[255], ref::Rgb(0, 0, 0));
  const ref::Palette blue_white = ref::BlueWhitePalette();
  EXPECT_EQ(blue_white[0], ref::Rgb(0, 0, 252));
  EXPECT_EQ(blue_white[127], ref::Rgb(252, 252, 252));
  EXPECT_EQ(blue_white[128], ref::Rgb(252, 252, 252));
  EXPECT_EQ(blue_white[255], ref::Rgb(0, 0, 252));
  const ref::Palette contour = ref::ContourPalette();
  EXPECT_EQ(contour[255], ref::Rgb(0, 0, 252));
  EXPECT_EQ(contour[0], ref::Rgb(0, 0, 252));
  EXPECT_EQ(contour[249], ref::Rgb(0, 0, 36));
  EXPECT_EQ(contour[6], ref::Rgb(0, 0, 36));
  EXPECT_EQ(contour[63], ref::Rgb(252, 252, 252));
  EXPECT_EQ(contour[64], ref::Rgb(252, 252, 252));
  EXPECT_EQ(contour[127], ref::Rgb(0, 252, 0));
  EXPECT_EQ(contour[128], ref::Rgb(0, 252, 0));
  EXPECT_EQ(contour[191], ref::Rgb(252, 0, 0));
  EXPECT_EQ(contour[192], ref::Rgb(252, 0, 0));
  EXPECT_EQ(contour[100], ref::Rgb(0, 0, 0));
  const ref::Palette fire = ref::FirePalette();
  EXPECT_EQ(fire[63], ref::Rgb(252, 0, 252));
  EXPECT_EQ(fire[64], ref::Rgb(252, 0, 252));
  EXPECT_EQ(fire[127], ref::Rgb(252, 252, 0));
  EXPECT_EQ(fire[128], ref::Rgb(252, 252, 0));
  EXPECT_EQ(fire[191], ref::Rgb(252, 0, 0));
  EXPECT_EQ(fire[255], ref::Rgb(0, 0, 0));
  const ref::Palette wheel = ref::WheelPalette();
  EXPECT_EQ(wheel[0], ref::Rgb(0, 188, 188));
  EXPECT_EQ(wheel[1], ref::Rgb(0, 192, 184));
  EXPECT_EQ(wheel[128], ref::Rgb(252, 60, 64));
  EXPECT_EQ(wheel[255], wheel[0]);
  // 29 colours occur twice, none more often.
  int entries_sharing_their_colour = 0;
  for (int i = 0; i < 256; ++i) {
    int same = 0;
    for (int j = 0; j < 256; ++j)
      same += wheel[j] == wheel[i];
    EXPECT_LE(same, 2) << "entry " << i;
    if (same == 2) ++entries_sharing_their_colour;
  }
  EXPECT_EQ(entries_sharing_their_colour, 2 * 29);
}

}  // namespace
