// The explorer's starting redraw (800 x 600, limit 256) on a headless canvas, beside its floor:
// the same escape-time loop over the same view, storing each colour into a plain array instead
// of plotting it and asking for keys after every pixel.
#include <benchmark/benchmark.h>
#include <lumivex/lumivex.h>
#include <lumivex/numeric.h>

#include <cstdlib>
#include <vector>

#include "mandelbrot_explorer.h"

namespace {

namespace mx = mandelbrot_explorer;

constexpr uint16_t kMaxX = 799;
constexpr uint16_t kMaxY = 599;
constexpr int32_t kLimit = mx::kLimitStep;
constexpr int64_t kPixels = int64_t{kMaxX} * kMaxY;

void BM_StartingRedrawFloor(benchmark::State& state) {
  std::vector<uint8_t> picture(static_cast<size_t>(kMaxX + 1) * (kMaxY + 1));
  const mx::View view = mx::StartingView(kMaxX, kMaxY);
  const double dx = mx::PixelStep(view.width, kMaxY);
  const double dy = mx::PixelStep(view.height, kMaxY);
  for (auto _ : state) {
    double cy = view.y_min;
    for (int32_t row = 0; row < kMaxY; ++row) {
      uint8_t* line = picture.data() + static_cast<size_t>(row) * (kMaxX + 1);
      double cx = view.x_min;
      for (int32_t column = 0; column < kMaxX; ++column) {
        line[column] = static_cast<uint8_t>(mx::EscapeCount(cx, cy, kLimit) % (kLimit + 1));
        cx = static_cast<Extended>(cx) + dx;
      }
      cy = static_cast<Extended>(cy) + dy;
    }
    benchmark::DoNotOptimize(picture.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kPixels);
}
BENCHMARK(BM_StartingRedrawFloor)->Unit(benchmark::kMillisecond);

void BM_StartingRedraw(benchmark::State& state) {
  setenv("LUMIVEX_BACKEND", "headless", 0);
  int16_t driver = 3;
  int16_t mode = 6;
  OpenCanvas(driver, mode, "bench");
  mx::Explorer explorer;
  explorer.Start();
  for (auto _ : state)
    explorer.Redraw();
  state.SetItemsProcessed(state.iterations() * kPixels);
  CloseCanvas();
}
BENCHMARK(BM_StartingRedraw)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
