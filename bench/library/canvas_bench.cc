// Library operations beside their floors: the same work as a plain loop over an array of the
// same pixel format, measured in the same run. Runs headless.
#include <benchmark/benchmark.h>
#include <lumivex/lumivex.h>

#include <cstdlib>
#include <vector>

namespace {

class OpenCanvasOnce {
 public:
  OpenCanvasOnce(int16_t driver, int16_t mode) {
    setenv("LUMIVEX_BACKEND", "headless", 0);
    if (CanvasIsOpen()) CloseCanvas();
    OpenCanvas(driver, mode, "bench");
  }
  ~OpenCanvasOnce() { CloseCanvas(); }
};

// Floor: a store into a page-sized byte array through a call the compiler cannot inline.
__attribute__((noinline)) void StorePixel(uint8_t* page, int32_t width, int16_t x, int16_t y,
                                          uint32_t colour) {
  page[static_cast<size_t>(y) * width + x] = static_cast<uint8_t>(colour);
}

void BM_PlotPixelFloor(benchmark::State& state) {
  std::vector<uint8_t> page(800 * 600);
  uint32_t i = 0;
  for (auto _ : state) {
    StorePixel(page.data(), 800, static_cast<int16_t>(i % 800),
               static_cast<int16_t>((i / 800) % 600), i);
    ++i;
  }
  benchmark::DoNotOptimize(page.data());
}
BENCHMARK(BM_PlotPixelFloor);

void BM_PlotPixelHiddenPage(benchmark::State& state) {
  OpenCanvasOnce canvas(3, 6);
  SetDrawPage(1);
  uint32_t i = 0;
  for (auto _ : state) {
    PlotPixel(static_cast<int16_t>(i % 800), static_cast<int16_t>((i / 800) % 600), i);
    ++i;
  }
}
BENCHMARK(BM_PlotPixelHiddenPage);

void BM_PlotPixelMirrored(benchmark::State& state) {
  OpenCanvasOnce canvas(3, 6);
  uint32_t i = 0;
  for (auto _ : state) {
    PlotPixel(static_cast<int16_t>(i % 800), static_cast<int16_t>((i / 800) % 600), i);
    ++i;
  }
}
BENCHMARK(BM_PlotPixelMirrored);

// The effects program's cell: a new solid fill, then a 3 x 3 bar.
void BM_FillCellFloor(benchmark::State& state) {
  std::vector<uint8_t> page(640 * 480);
  uint32_t i = 0;
  for (auto _ : state) {
    const int32_t x = 2 * static_cast<int32_t>(i % 319),
                  y = 2 * static_cast<int32_t>((i / 319) % 239);
    for (int32_t r = y; r <= y + 2; ++r) {
      for (int32_t c = x; c <= x + 2; ++c)
        page[static_cast<size_t>(r) * 640 + c] = static_cast<uint8_t>(i);
    }
    benchmark::ClobberMemory();
    ++i;
  }
}
BENCHMARK(BM_FillCellFloor);

void BM_FillCellHiddenPage(benchmark::State& state) {
  OpenCanvasOnce canvas(3, 4);
  SetDrawPage(1);
  uint32_t i = 0;
  for (auto _ : state) {
    const int16_t x = static_cast<int16_t>(2 * (i % 320)),
                  y = static_cast<int16_t>(2 * ((i / 320) % 240));
    SetFillStyle(1, i);
    FillBar(x, y, static_cast<int16_t>(x + 2), static_cast<int16_t>(y + 2));
    ++i;
  }
}
BENCHMARK(BM_FillCellHiddenPage);

void BM_KeyWaiting(benchmark::State& state) {
  OpenCanvasOnce canvas(3, 4);
  for (auto _ : state)
    benchmark::DoNotOptimize(KeyWaiting());
}
BENCHMARK(BM_KeyWaiting);

void BM_ShowPageRepaint(benchmark::State& state) {
  OpenCanvasOnce canvas(3, 6);
  uint16_t page = 0;
  for (auto _ : state) {
    SetShowPage(page);
    page ^= 1;
    // Painting happens on the window thread; wait for it so each iteration is a full repaint.
    ReadPixel(0, 0);
  }
}
BENCHMARK(BM_ShowPageRepaint);

void BM_OpenCloseCanvas(benchmark::State& state) {
  setenv("LUMIVEX_BACKEND", "headless", 0);
  for (auto _ : state) {
    int16_t driver = 3, mode = 6;
    OpenCanvas(driver, mode, "bench");
    CloseCanvas();
  }
}
BENCHMARK(BM_OpenCloseCanvas)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
