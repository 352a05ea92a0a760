// The effects program end to end: one headless run through all eight effects, a key ending each
// after its third shown page, and the shown frames checked pixel by pixel against the formulas
// through each effect's palette.
//
// Under flip order A the k-th shown page of an effect is page 1 undrawn (k = 1), then frame k,
// alternately on pages 0 and 1. Under order B (effect 8) it is page 1 undrawn, then frame k - 1.
#include <gtest/gtest.h>
#include <lumivex/lumivex.h>

#include <functional>
#include <string>
#include <vector>

#include "effect_reference.h"
#include "support/program_runner.h"

namespace {

using effects_reference::Palette;
using lumivex::testing::Picture;

// Effects 1 to 7 are shot at their first three shown pages, effect 8 at its first four (its
// third frame is the first painted over a page it painted before).
int ShowsOf(int effect) {
  return effect == 8 ? 4 : 3;
}

// What a 640 x 480 shot should show, RGB values row by row.
using Pixels = std::vector<uint32_t>;

Pixels Blank() {
  return Pixels(640 * 480, 0);
}
uint32_t& At(Pixels& pixels, int32_t px, int32_t py) {
  return pixels[static_cast<size_t>(py) * 640 + static_cast<size_t>(px)];
}

// Every pixel of a cell takes the palette entry of the cell's colour modulo 256.
Pixels CellPicture(const Palette& palette, const std::function<int64_t(int64_t, int64_t)>& colour) {
  Pixels pixels = Blank();
  for (int32_t y = 0; y < 240; ++y) {
    for (int32_t x = 0; x < 320; ++x) {
      const uint32_t rgb = palette[static_cast<uint8_t>(colour(x, y))];
      for (int32_t py = 2 * y; py <= 2 * y + 1; ++py) {
        for (int32_t px = 2 * x; px <= 2 * x + 1; ++px)
          At(pixels, px, py) = rgb;
      }
    }
  }
  return pixels;
}

// Compares a whole shot; on a mismatch names the first differing pixel and its cell.
::testing::AssertionResult ShowsPicture(const std::string& path, const Pixels& expected) {
  Picture picture;
  if (!lumivex::testing::ReadPng(path, &picture)) {
    return ::testing::AssertionFailure() << "no picture " << path;
  }
  if (picture.width != 640 || picture.height != 480) {
    return ::testing::AssertionFailure()
           << path << " is " << picture.width << " x " << picture.height;
  }
  int64_t wrong = 0;
  std::string first;
  for (int32_t py = 0; py < 480; ++py) {
    for (int32_t px = 0; px < 640; ++px) {
      const uint32_t want = expected[static_cast<size_t>(py) * 640 + static_cast<size_t>(px)];
      if (picture.At(px, py) == want) continue;
      if (wrong++ == 0) {
        first = "pixel (" + std::to_string(px) + ", " + std::to_string(py) + ") of cell (" +
                std::to_string(px / 2) + ", " + std::to_string(py / 2) + ") shows " +
                std::to_string(picture.At(px, py)) + ", expected " + std::to_string(want);
      }
    }
  }
  if (wrong == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << path << ": " << wrong << " pixels differ, first " << first;
}

bool Uniform(const std::string& path) {
  Picture picture;
  if (!lumivex::testing::ReadPng(path, &picture) || picture.pixels.empty()) return false;
  for (uint32_t p : picture.pixels) {
    if (p != picture.pixels[0]) return false;
  }
  return true;
}

std::string Shot(int effect, int show) {
  return "effect" + std::to_string(effect) + "_show" + std::to_string(show) + ".png";
}

// The one run of the program that the tests below look at, made by the first of them.
struct Run {
  lumivex::testing::RunResult result;
  std::string directory;
};

const Run& TheRun() {
  static const Run run = [] {
    std::string script;
    int shows = 0;
    for (int effect = 1; effect <= 8; ++effect) {
      for (int k = 1; k <= ShowsOf(effect); ++k) {
        script += "wait shows " + std::to_string(++shows) + "\n";
        script += "shot " + Shot(effect, k) + "\n";
      }
      script += "key a\n";
    }
    lumivex::testing::RunOptions options;
    options.script = script;
    options.time_limit = std::chrono::seconds(120);
    return Run{lumivex::testing::RunProgram("effects", options), lumivex::testing::TestDirectory()};
  }();
  return run;
}

std::string ShotPath(int effect, int show) {
  return TheRun().directory + "/" + Shot(effect, show);
}

TEST(EffectsRun, EachKeyEndsOnlyTheRunningEffectAndTheProgramEndsAfterTheEighth) {
  // Eight keys, one per effect, each pressed after the effect's last shot: had a key
  // ended two effects, the shows counted below would belong to the wrong effects and the run
  // would stop short of the eighth key.
  const lumivex::testing::RunResult& result = TheRun().result;
  EXPECT_FALSE(result.timed_out) << result.errors;
  EXPECT_EQ(result.exit_code, 0) << result.errors;
  EXPECT_EQ(result.errors, "");
}

TEST(EffectsRun, OrderAShowsTheUndrawnPageOneAtTheFirstFlip) {
  EXPECT_TRUE(Uniform(ShotPath(1, 1)));
}

struct SineEffect {
  int effect;
  Palette (*palette)();  // nullptr: the default palette
  int64_t (*colour)(int64_t t, int64_t x, int64_t y);
};

void PrintTo(const SineEffect& e, std::ostream* os) {
  *os << "effect " << e.effect;
}

class SineEffectFrames : public ::testing::TestWithParam<SineEffect> {};

// Frames 2 and 3 (pages 0 and 1) of effects 1 to 6, every cell; for effect 4 this includes the
// bottom pixel row 479 of cell row 239, so its rows from 240 on changed nothing.
TEST_P(SineEffectFrames, ShownFramesFollowTheFormulasThroughThePalette) {
  const SineEffect& e = GetParam();
  Palette palette{};
  if (e.palette != nullptr) {
    palette = e.palette();
  } else {
    PaletteRecord record;
    GetDefaultPalette(record);
    for (int i = 0; i < 256; ++i) {
      const PaletteEntry& entry = record.entries[i];
      palette[i] = effects_reference::Rgb(entry.red, entry.green, entry.blue);
    }
  }
  for (int64_t t = 2; t <= 3; ++t) {
    auto colour = [&](int64_t x, int64_t y) { return e.colour(t, x, y); };
    EXPECT_TRUE(
        ShowsPicture(ShotPath(e.effect, static_cast<int>(t)), CellPicture(palette, colour)));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Effects1To6, SineEffectFrames,
    ::testing::Values(SineEffect{1, nullptr, effects_reference::Effect1},
                      SineEffect{2, effects_reference::RampPalette, effects_reference::Effect2},
                      SineEffect{3, effects_reference::BlueWhitePalette,
                                 effects_reference::Effect3},
                      SineEffect{4, effects_reference::ContourPalette, effects_reference::Effect4},
                      SineEffect{5, effects_reference::RampPalette, effects_reference::Effect5},
                      SineEffect{6, effects_reference::StripePalette, effects_reference::Effect6}),
    [](const ::testing::TestParamInfo<SineEffect>& info) {
      return "Effect" + std::to_string(info.param.effect);
    });

// The checkerboard inverts between frames 2 and 3; pixel rows and columns 0 and 1 are never
// painted and keep the pages' first content, pixel value 0, shown as palette entry 0.
TEST(EffectsRun, Effect7InterleavesTwoCopiesAndLeavesTheTopAndLeftEdgeUntouched) {
  const Palette palette = effects_reference::FirePalette();
  for (int64_t n = 2; n <= 3; ++n) {
    Pixels expected = CellPicture(
        palette, [n](int64_t x, int64_t y) { return effects_reference::Effect7(n, x, y); });
    for (int32_t i = 0; i < 2; ++i) {
      for (int32_t px = 0; px < 640; ++px)
        At(expected, px, i) = palette[0];
      for (int32_t py = 0; py < 480; ++py)
        At(expected, i, py) = palette[0];
    }
    EXPECT_TRUE(ShowsPicture(ShotPath(7, static_cast<int>(n)), expected));
  }
}

// Effect 8 clears the page before every frame and reads each cell back through the palette before
// adding the next wave. Its palette holds 29 colours twice; the library's nearest-entry search
// returns the lower of two equal entries, so that is the index a read gives back.
TEST(EffectsRun, Effect8AddsFiveWavesOntoTheClearedPageReadingEachCellBack) {
  const Palette palette = effects_reference::WheelPalette();
  auto read_back = [&](int64_t value) {
    const uint8_t index = static_cast<uint8_t>(value);
    for (int i = 0; i < 256; ++i) {
      if (palette[i] == palette[index]) return static_cast<int64_t>(i);
    }
    return static_cast<int64_t>(index);
  };
  // The page is cleared to the back colour, black under the default palette the window opened
  // with: entry 0, which this palette makes cyan.
  constexpr int64_t kCleared = 0;
  EXPECT_TRUE(Uniform(ShotPath(8, 1)));  // page 1 while the first frame is painted
  for (int64_t f = 0; f <= 2; ++f) {
    effects_reference::Wave waves[5];
    for (int k = 0; k < 5; ++k)
      waves[k] = effects_reference::WaveOf(f, k);
    auto colour = [&](int64_t x, int64_t y) {
      int64_t value = kCleared;
      for (const auto& wave : waves)
        value = read_back(value) + effects_reference::WaveAt(f, wave, x, y);
      return value;
    };
    const std::string path = ShotPath(8, static_cast<int>(f + 2));
    EXPECT_TRUE(ShowsPicture(path, CellPicture(palette, colour)));
    if (f == 0) {
      Picture picture;
      ASSERT_TRUE(lumivex::testing::ReadPng(path, &picture));
      EXPECT_EQ(picture.At(2 * 160 + 1, 2 * 120 + 1), palette[kCleared]);
    }
  }
}

TEST(EffectsWithoutAWindow, EndWithAMessageInsteadOfWaitingForAKeyForEver) {
  lumivex::testing::ExpectEndsWhenTheWindowCannotOpen("effects");
}

}  // namespace
