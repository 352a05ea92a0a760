// One Woggle picture (k = 5) on the 800 x 600 true-colour canvas, as the program draws it (a
// clear, then a plot a point through ColourFromRGB), beside the same iteration into a plain array
// of RGB values.
#include <benchmark/benchmark.h>
#include <lumivex/lumivex.h>
#include <lumivex/random.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "woggle.h"

namespace {

constexpr int32_t kK = 5;
constexpr int32_t kWidth = 800, kHeight = 600;

void BM_WogglePictureFloor(benchmark::State& state) {
  const woggle::PictureSetup setup = woggle::SetUpPicture(kK, kWidth - 1, kHeight - 1);
  std::vector<uint32_t> page(kWidth * kHeight);
  for (auto _ : state) {
    SeedRandom(2026);
    std::fill(page.begin(), page.end(), 0);
    woggle::IteratePicture(setup, [&](int16_t column, int16_t row, uint16_t red, uint16_t green,
                                      uint16_t blue) {
      if (column < 0 || column >= kWidth || row < 0 || row >= kHeight) return;
      page[row * kWidth + column] = (red & 255u) | (uint32_t{green} << 8) | ((blue & 255u) << 16);
    });
    benchmark::DoNotOptimize(page.data());
  }
}
BENCHMARK(BM_WogglePictureFloor)->Unit(benchmark::kMillisecond);

void BM_WogglePicture(benchmark::State& state) {
  setenv("LUMIVEX_BACKEND", "headless", 0);
  int16_t driver = 9, mode = 6;
  OpenCanvas(driver, mode, "bench");
  for (auto _ : state) {
    SeedRandom(2026);
    woggle::DrawPicture(kK);
  }
  CloseCanvas();
}
BENCHMARK(BM_WogglePicture)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
