// Each effect's frame on a headless canvas beside its floor: the same animation, tables and cell
// loop writing 2 x 2 blocks into a plain page-sized array, in the same run. Run with
// LUMIVEX_BACKEND=headless.
#include <benchmark/benchmark.h>
#include <lumivex/lumivex.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <vector>

#include "effects.h"

namespace {

// Floor: cells as 2 x 2 blocks of a 640 x 480 byte array, read back from the lower right pixel
// through the same answer the canvas gives: the lowest palette entry of the pixel's colour.
// Rows below the array (effect 4's rows from 240 on) are dropped, as the canvas clips them.
struct ArrayCells {
  std::vector<uint8_t> pixels = std::vector<uint8_t>(640 * 480, 0);
  std::array<uint8_t, 256> read_back{};
  void Paint(int32_t x, int32_t y, int32_t colour) {
    if (y > effects::kLastRow) return;
    uint8_t* row = pixels.data() + static_cast<size_t>(2 * y) * 640 + static_cast<size_t>(2 * x);
    row[0] = row[1] = row[640] = row[641] = static_cast<uint8_t>(colour);
  }
  int32_t Read(int32_t x, int32_t y) const {
    return read_back[pixels[static_cast<size_t>(2 * y + 1) * 640 + static_cast<size_t>(2 * x + 1)]];
  }
};

class Canvas {
 public:
  Canvas() {
    int16_t driver = 3, mode = 4;
    OpenCanvas(driver, mode, "bench");
  }
  ~Canvas() { CloseCanvas(); }
};

// A whole frame as the program runs it: painting, the page flip, and for effect 8 the clearing.
template <typename Animation>
void BM_Frame(benchmark::State& state) {
  Canvas canvas;
  auto animation = Animation::Prepare();
  effects::CanvasCells cells;
  uint16_t page = 0;
  for (auto _ : state) {
    if constexpr (Animation::kFlipOrder == effects::FlipOrder::kBeforeFrameWithClearing) {
      SetDrawPage(page);
      page ^= 1;
      SetShowPage(page);
      ClearCanvas();
      animation.PaintFrame(cells);
    } else {
      animation.PaintFrame(cells);
      SetDrawPage(page);
      page ^= 1;
      SetShowPage(page);
    }
  }
}

template <typename Animation>
void BM_Floor(benchmark::State& state) {
  Canvas canvas;  // for Prepare's palette, and the read-back answers taken from it beforehand
  auto animation = Animation::Prepare();
  ArrayCells cells;
  for (int32_t i = 0; i < 256; ++i) {
    PlotPixel(0, 0, static_cast<Colour>(i));
    cells.read_back[static_cast<size_t>(i)] = static_cast<uint8_t>(ReadPixel(0, 0));
  }
  for (auto _ : state) {
    if constexpr (Animation::kFlipOrder == effects::FlipOrder::kBeforeFrameWithClearing) {
      std::fill(cells.pixels.begin(), cells.pixels.end(), 0);
    }
    animation.PaintFrame(cells);
    benchmark::DoNotOptimize(cells.pixels.data());
    benchmark::ClobberMemory();
  }
}

#define EFFECT_BENCHMARKS(Animation)                                               \
  BENCHMARK_TEMPLATE(BM_Frame, effects::Animation)->Unit(benchmark::kMillisecond); \
  BENCHMARK_TEMPLATE(BM_Floor, effects::Animation)->Unit(benchmark::kMillisecond)

EFFECT_BENCHMARKS(Effect1Animation);
EFFECT_BENCHMARKS(Effect2Animation);
EFFECT_BENCHMARKS(Effect3Animation);
EFFECT_BENCHMARKS(Effect4Animation);
EFFECT_BENCHMARKS(Effect5Animation);
EFFECT_BENCHMARKS(Effect6Animation);
EFFECT_BENCHMARKS(Effect7Animation);
EFFECT_BENCHMARKS(Effect8Animation);

}  // namespace

BENCHMARK_MAIN();
