// One plasma image on a 1280 x 1024 canvas (the default headless screen), as the program draws
// it (a plot and a key test a pixel, onto a hidden page), beside the same arithmetic into a plain
// array of palette indices.
#include <benchmark/benchmark.h>
#include <lumivex/lumivex.h>
#include <lumivex/random.h>

#include <cstdlib>
#include <vector>

#include "plasma_family.h"

namespace {

using plasma_family::Coefficients;

constexpr int16_t kMaxX = 1279, kMaxY = 1023;

Coefficients FixedCoefficients() {
  SeedRandom(2026);
  return plasma_family::DrawCoefficients();
}

void BM_PlasmaImageFloor(benchmark::State& state) {
  const Coefficients c = FixedCoefficients();
  const double k = plasma_family::Frequency(kMaxX);
  std::vector<uint8_t> page((kMaxX + 1) * (kMaxY + 1));
  for (auto _ : state) {
    for (int32_t y = 0; y < kMaxY; ++y) {
      for (int32_t x = 0; x < kMaxX; ++x) {
        page[y * (kMaxX + 1) + x] = plasma_family::ColourIndex(c, k, x, y);
      }
    }
    benchmark::DoNotOptimize(page.data());
  }
}
BENCHMARK(BM_PlasmaImageFloor)->Unit(benchmark::kMillisecond);

void BM_PlasmaImage(benchmark::State& state) {
  setenv("LUMIVEX_BACKEND", "headless", 0);
  int16_t driver = 3, mode = 12;
  OpenCanvas(driver, mode, "bench");
  if (MaxX() != kMaxX || MaxY() != kMaxY) {
    state.SkipWithError("the headless screen is not 1280 x 1024 (LUMIVEX_SCREEN)");
    CloseCanvas();
    return;
  }
  plasma_family::SetPlasmaPalette();
  SetDrawPage(0);
  SetShowPage(1);
  const Coefficients c = FixedCoefficients();
  const double k = plasma_family::Frequency(kMaxX);
  for (auto _ : state) {
    benchmark::DoNotOptimize(plasma_family::DrawImage(c, k, kMaxX, kMaxY));
  }
  CloseCanvas();
}
BENCHMARK(BM_PlasmaImage)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
