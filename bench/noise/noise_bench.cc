// The gradient noise per call, and a frame of each noise program drawn headless beside its floor:
// the same sampling loops writing into a plain page-sized array instead of calling the library.
#include <benchmark/benchmark.h>
#include <lumivex/lumivex.h>
#include <lumivex/random.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "noise/noise.h"
#include "perlin_noise.h"
#include "perlin_textures.h"

namespace {

class HeadlessCanvas {
 public:
  HeadlessCanvas() {
    setenv("LUMIVEX_BACKEND", "headless", 0);
    int16_t driver = 3, mode = 4;
    OpenCanvas(driver, mode, "bench");
  }
  ~HeadlessCanvas() { CloseCanvas(); }
};

// A walk along a row of the noise program's plane, as the inner loops make.
template <class Variant>
void BM_Noise3D(benchmark::State& state) {
  SeedRandom(2026);
  noise::InitNoiseTables<Variant>();
  double x = 0.1, y = 3.7, z = -1.3;
  for (auto _ : state) {
    benchmark::DoNotOptimize(noise::Noise3D<Variant>(x, y, z));
    x += 0.0147;
    y += -0.0026;
    z += 0.0045;
  }
}
BENCHMARK(BM_Noise3D<noise::PerlinNoiseVariant>);
BENCHMARK(BM_Noise3D<noise::PerlinTexturesVariant>);

constexpr int32_t kWidth = 640, kHeight = 480;

// The floor's store: a plain array, through a call the compiler cannot inline, as the program
// hands each sample to the library. Inlined into the sampling loop the store measured slower,
// since the loop's x87 code then schedules worse; a floor must not exceed what it bounds.
__attribute__((noinline)) void StoreSample(uint8_t* square, int32_t column, int32_t row,
                                           Colour colour) {
  square[static_cast<size_t>(row) * kWidth + static_cast<size_t>(column)] =
      static_cast<uint8_t>(colour);
}

void BM_PerlinNoiseFrameFloor(benchmark::State& state) {
  HeadlessCanvas canvas;  // for MaxX and MaxY at start-up, as in the program
  perlin_noise::StartUp();
  std::vector<uint8_t> page(kWidth * kHeight);
  for (auto _ : state) {
    std::memset(page.data(), 0, page.size());
    uint8_t* const square = page.data() + 89 * kWidth + 169;
    perlin_noise::SampleSquare([square](int32_t column, int32_t row, Colour colour) {
      StoreSample(square, column, row, colour);
    });
    benchmark::ClobberMemory();
  }
  state.SetLabel("90000 samples");
}
BENCHMARK(BM_PerlinNoiseFrameFloor)->Unit(benchmark::kMillisecond);

void BM_PerlinNoiseFrame(benchmark::State& state) {
  HeadlessCanvas canvas;
  perlin_noise::StartUp();
  for (auto _ : state)
    perlin_noise::DrawFrame();
  state.SetLabel("90000 samples");
}
BENCHMARK(BM_PerlinNoiseFrame)->Unit(benchmark::kMillisecond);

struct ArrayWriter {
  std::vector<uint8_t> page = std::vector<uint8_t>(kWidth * kHeight);
  static Colour Rgb(uint16_t red, uint16_t green, uint16_t blue) {
    return (red & 0xFFu) | (static_cast<uint32_t>(green) << 8) | ((blue & 0xFFu) << 16);
  }
  void Plot(int32_t column, int32_t row, Colour colour) {
    page[static_cast<size_t>(row) * kWidth + column] = static_cast<uint8_t>(colour);
  }
};

void BM_PerlinTexturesFrameFloor(benchmark::State& state) {
  HeadlessCanvas canvas;
  perlin_textures::StartUp();
  ArrayWriter writer;
  for (auto _ : state) {
    std::memset(writer.page.data(), 0, writer.page.size());
    perlin_textures::SampleSquare(writer);
    benchmark::ClobberMemory();
  }
  state.SetLabel("393216 samples");
}
BENCHMARK(BM_PerlinTexturesFrameFloor)->Unit(benchmark::kMillisecond);

void BM_PerlinTexturesFrame(benchmark::State& state) {
  HeadlessCanvas canvas;
  perlin_textures::StartUp();
  for (auto _ : state)
    perlin_textures::DrawFrame();
  state.SetLabel("393216 samples");
}
BENCHMARK(BM_PerlinTexturesFrame)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
