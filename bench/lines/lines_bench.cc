// DrawLine and DrawCircle beside their floors: the same stepping into a plain page-sized array,
// measured in the same run. Runs headless on an 800 x 600 canvas of 256 colours.
#include <benchmark/benchmark.h>
#include <lumivex/lumivex.h>

#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

constexpr int32_t kWidth = 800, kHeight = 600;

class OpenCanvasOnce {
 public:
  OpenCanvasOnce() {
    setenv("LUMIVEX_BACKEND", "headless", 0);
    if (CanvasIsOpen()) CloseCanvas();
    int16_t driver = 3, mode = 6;
    OpenCanvas(driver, mode, "bench");
  }
  ~OpenCanvasOnce() { CloseCanvas(); }
};

// Floor: an x-major line from (x0, y0) with dx >= dy >= 0, one pixel per column with an error
// term, plus the end pixel, into a plain array.
__attribute__((noinline)) void FloorLine(uint8_t* page, int32_t x0, int32_t y0, int32_t dx,
                                         int32_t dy, uint8_t colour) {
  int64_t error = dx - 1;
  int32_t y = y0;
  for (int32_t x = x0; x < x0 + dx; ++x) {
    page[static_cast<size_t>(y) * kWidth + x] = colour;
    error += 2 * dy;
    if (error >= 2 * dx) error -= 2 * dx, ++y;
  }
  page[static_cast<size_t>(y0 + dy) * kWidth + x0 + dx] = colour;
}

// Lines of a given length, start points spread over the canvas.
void BM_LineFloor(benchmark::State& state) {
  const int32_t length = static_cast<int32_t>(state.range(0));
  std::vector<uint8_t> page(kWidth * kHeight);
  uint32_t i = 0;
  for (auto _ : state) {
    const int32_t x = static_cast<int32_t>(i % (kWidth - length - 1));
    const int32_t y = static_cast<int32_t>((i * 7) % (kHeight - length / 2 - 1));
    FloorLine(page.data(), x, y, length, length / 2, static_cast<uint8_t>(i));
    benchmark::ClobberMemory();
    ++i;
  }
  state.SetItemsProcessed(state.iterations() * length);
}
BENCHMARK(BM_LineFloor)->Arg(10)->Arg(600);

void DrawLines(benchmark::State& state) {
  const int32_t length = static_cast<int32_t>(state.range(0));
  uint32_t i = 0;
  for (auto _ : state) {
    const int16_t x = static_cast<int16_t>(i % (kWidth - length - 1));
    const int16_t y = static_cast<int16_t>((i * 7) % (kHeight - length / 2 - 1));
    DrawLine(x, y, static_cast<int16_t>(x + length), static_cast<int16_t>(y + length / 2));
    ++i;
  }
  state.SetItemsProcessed(state.iterations() * length);
}

void BM_DrawLineHiddenPage(benchmark::State& state) {
  OpenCanvasOnce canvas;
  SetDrawPage(1);
  DrawLines(state);
}
BENCHMARK(BM_DrawLineHiddenPage)->Arg(10)->Arg(600);

// The page on show: every line also goes into the window surface.
void BM_DrawLineMirrored(benchmark::State& state) {
  OpenCanvasOnce canvas;
  DrawLines(state);
}
BENCHMARK(BM_DrawLineMirrored)->Arg(10)->Arg(600);

// A line across the whole coordinate range, through the middle of the canvas: it costs what its
// 800 pixels on the canvas cost.
void BM_DrawLineFarEnds(benchmark::State& state) {
  OpenCanvasOnce canvas;
  SetDrawPage(1);
  for (auto _ : state)
    DrawLine(-32768, -16284, 32767, 16483);
}
BENCHMARK(BM_DrawLineFarEnds);

void BM_DrawLineUserPattern(benchmark::State& state) {
  OpenCanvasOnce canvas;
  SetDrawPage(1);
  SetLineStyle(5, 0xF0F0, 1);
  DrawLines(state);
}
BENCHMARK(BM_DrawLineUserPattern)->Arg(600);

// Floor: the one-pixel circle as ours computes it, a square root per column or row of each
// octant, into a plain array.
__attribute__((noinline)) void FloorCircle(uint8_t* page, int32_t cx, int32_t cy, int32_t r,
                                           uint8_t colour) {
  const int32_t last = static_cast<int32_t>(r / std::sqrt(2.0));
  for (int32_t t = 0; t <= last; ++t) {
    const int32_t s =
        static_cast<int32_t>(std::floor(std::sqrt(double(r) * r - double(t) * t) + 0.5));
    const int32_t xs[8] = {cx + t, cx - t, cx + t, cx - t, cx + s, cx - s, cx + s, cx - s};
    const int32_t ys[8] = {cy - s, cy - s, cy + s, cy + s, cy - t, cy - t, cy + t, cy + t};
    for (int k = 0; k < 8; ++k)
      page[static_cast<size_t>(ys[k]) * kWidth + xs[k]] = colour;
  }
}

void BM_CircleFloor(benchmark::State& state) {
  const int32_t r = static_cast<int32_t>(state.range(0));
  std::vector<uint8_t> page(kWidth * kHeight);
  uint32_t i = 0;
  for (auto _ : state) {
    const int32_t cx = r + static_cast<int32_t>(i % (kWidth - 2 * r - 1));
    const int32_t cy = r + static_cast<int32_t>((i * 7) % (kHeight - 2 * r - 1));
    FloorCircle(page.data(), cx, cy, r, static_cast<uint8_t>(i));
    benchmark::ClobberMemory();
    ++i;
  }
}
BENCHMARK(BM_CircleFloor)->Arg(3)->Arg(10)->Arg(200);

void BM_DrawCircleHiddenPage(benchmark::State& state) {
  const int32_t r = static_cast<int32_t>(state.range(0));
  OpenCanvasOnce canvas;
  SetDrawPage(1);
  uint32_t i = 0;
  for (auto _ : state) {
    const int16_t cx = static_cast<int16_t>(r + i % (kWidth - 2 * r - 1));
    const int16_t cy = static_cast<int16_t>(r + (i * 7) % (kHeight - 2 * r - 1));
    DrawCircle(cx, cy, static_cast<uint16_t>(r));
    ++i;
  }
}
BENCHMARK(BM_DrawCircleHiddenPage)->Arg(3)->Arg(10)->Arg(200);

// A circle of radius 65535 around a point off the canvas: only what lands is computed.
void BM_DrawCircleHugeRadius(benchmark::State& state) {
  OpenCanvasOnce canvas;
  SetDrawPage(1);
  SetAspectRatio(10000, 10000);
  for (auto _ : state)
    DrawCircle(-32768, -32768, 46450);
}
BENCHMARK(BM_DrawCircleHugeRadius);

}  // namespace

BENCHMARK_MAIN();
