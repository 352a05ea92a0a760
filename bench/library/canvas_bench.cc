// Library operations beside their floors: the same work as a plain loop over an array of the
// same pixel format, measured in the same run. Run headless (LUMIVEX_BACKEND=headless).
#include <benchmark/benchmark.h>
#include <lumivex/lumivex.h>

#include <array>
#include <chrono>
#include <vector>

#include "testing.h"

namespace {

class OpenCanvasOnce {
 public:
  OpenCanvasOnce(int16_t driver, int16_t mode) {
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
    const int32_t x = 2 * static_cast<int32_t>(i % 319);
    const int32_t y = 2 * static_cast<int32_t>((i / 319) % 239);
    for (int32_t r = y; r <= y + 2; ++r) {
      for (int32_t c = x; c <= x + 2; ++c) {
        page[static_cast<size_t>(r) * 640 + c] = static_cast<uint8_t>(i);
      }
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
    const int16_t x = static_cast<int16_t>(2 * (i % 320));
    const int16_t y = static_cast<int16_t>(2 * ((i / 320) % 240));
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

// Floor of a repaint: an 800 x 600 page through its colour table into an RGB array.
void BM_RepaintFloor(benchmark::State& state) {
  std::vector<uint8_t> page(800 * 600, 7);
  std::vector<uint32_t> surface(800 * 600);
  std::array<uint32_t, 256> table{};
  for (uint32_t i = 0; i < 256; ++i)
    table[i] = i * 0x010101u;
  for (auto _ : state) {
    for (size_t p = 0; p < page.size(); ++p)
      surface[p] = table[page[p]];
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_RepaintFloor)->Unit(benchmark::kMicrosecond);

// SetShowPage, and the window thread's repaint of the whole 800 x 600 window from the page.
void BM_ShowPageRepaint(benchmark::State& state) {
  OpenCanvasOnce canvas(3, 6);
  uint16_t page = 0;
  for (auto _ : state) {
    SetShowPage(page);
    page ^= 1;
    lumivex::testing::FlushPainting();
  }
}
BENCHMARK(BM_ShowPageRepaint)->Unit(benchmark::kMicrosecond)->UseRealTime();

// One palette entry changed, and the repaint it asks for.
void BM_SetPaletteRgbRepaint(benchmark::State& state) {
  OpenCanvasOnce canvas(3, 6);
  uint16_t value = 0;
  for (auto _ : state) {
    SetPaletteRGB(5, value, 0, 0);
    value = static_cast<uint16_t>((value + 1) & 255);
    lumivex::testing::FlushPainting();
  }
}
BENCHMARK(BM_SetPaletteRgbRepaint)->Unit(benchmark::kMicrosecond)->UseRealTime();

// OpenCanvas until the canvas can be drawn on, and CloseCanvas, timed separately.
void TimeOpenOrClose(benchmark::State& state, bool time_open) {
  for (auto _ : state) {
    int16_t driver = 3, mode = 6;
    const auto start = std::chrono::steady_clock::now();
    OpenCanvas(driver, mode, "bench");
    const auto opened = std::chrono::steady_clock::now();
    CloseCanvas();
    const auto closed = std::chrono::steady_clock::now();
    state.SetIterationTime(
        std::chrono::duration<double>(time_open ? opened - start : closed - opened).count());
  }
}
void BM_OpenCanvas(benchmark::State& state) {
  TimeOpenOrClose(state, true);
}
void BM_CloseCanvas(benchmark::State& state) {
  TimeOpenOrClose(state, false);
}
BENCHMARK(BM_OpenCanvas)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(20);
BENCHMARK(BM_CloseCanvas)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(20);

}  // namespace

BENCHMARK_MAIN();
