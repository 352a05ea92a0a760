// The tree programs' drawing beside its floor: a whole blossom tree (fixed seed) and a
// windy_trees frame, each drawn headless through the library and, in the same run, by the same
// recursion writing its rounded lines and blossoms into a plain array.
#include <benchmark/benchmark.h>
#include <lumivex/lumivex.h>
#include <lumivex/numeric.h>
#include <lumivex/random.h>

#include <cstdlib>
#include <vector>

#include "blossom_trees.h"
#include "branch_drawing.h"
#include "windy_trees.h"

namespace {

constexpr uint32_t kTreeSeed = 2026;         // blossom_trees seeds from the tick count
constexpr char kTicks[] = "2026";            // windy_trees draws its tree seed from the tick count
constexpr int16_t kMaxX = 799, kMaxY = 599;  // the 800 x 600 canvas of both programs

class OpenCanvasOnce {
 public:
  OpenCanvasOnce() {
    if (CanvasIsOpen()) CloseCanvas();
    int16_t driver = 3, mode = 6;
    OpenCanvas(driver, mode, "bench");
  }
  ~OpenCanvasOnce() { CloseCanvas(); }
};

// Floor: the line routine's and the blossom's conversions, the results stored in arrays.
struct ArraySink {
  struct Line {
    Colour colour;
    int16_t x1, y1, x2, y2;
  };
  struct Blossom {
    int16_t x, y;
    int64_t last_radius;
  };
  std::vector<Line> lines;
  std::vector<Blossom> blossoms;

  ArraySink() {
    lines.reserve(1 << 20);
    blossoms.reserve(1 << 16);
  }
  void Clear() {
    lines.clear();
    blossoms.clear();
  }
  void Line(Colour colour, double x1, double y1, double x2, double y2) {
    int16_t c1 = 0, r1 = 0, c2 = 0, r2 = 0;
    if (NearestCoordinate(x1, c1) && NearestCoordinate(y1, r1) && NearestCoordinate(x2, c2) &&
        NearestCoordinate(y2, r2)) {
      lines.push_back({colour, c1, r1, c2, r2});
    }
  }
  void Blossom(double x, double y, int64_t last_radius) {
    int16_t column = 0, row = 0;
    if (NearestCoordinate(x, column) && NearestCoordinate(y, row)) {
      blossoms.push_back({column, row, last_radius});
    }
  }
};

void ReportTree(benchmark::State& state, int32_t branches) {
  state.counters["branches"] = branches;
  state.counters["branches/s"] = benchmark::Counter(static_cast<double>(branches),
                                                    benchmark::Counter::kIsIterationInvariantRate);
}

void BM_BlossomTreeFloor(benchmark::State& state) {
  ArraySink sink;
  int32_t branches = 0;
  for (auto _ : state) {
    sink.Clear();
    SeedRandom(kTreeSeed);
    trees::BranchDrawing<ArraySink> drawing(sink, 0.0);
    drawing.DrawTree(kMaxX, kMaxY);
    branches = drawing.branch_counter;
    benchmark::DoNotOptimize(sink.lines.data());
  }
  state.counters["lines"] = static_cast<double>(sink.lines.size());
  ReportTree(state, branches);
}
BENCHMARK(BM_BlossomTreeFloor)->Unit(benchmark::kMillisecond);

void BM_BlossomTree(benchmark::State& state) {
  OpenCanvasOnce canvas;
  int32_t branches = 0;
  for (auto _ : state) {
    SeedRandom(kTreeSeed);
    branches = DrawBlossomTree();
  }
  ReportTree(state, branches);
}
BENCHMARK(BM_BlossomTree)->Unit(benchmark::kMillisecond);

// A windy_trees frame: reseed, draw with the wind phase, advance the phase.
void BM_WindyFrameFloor(benchmark::State& state) {
  ArraySink sink;
  SeedRandomFromTicks();
  const uint32_t tree_seed = static_cast<uint32_t>(RandomBelow(1000000));
  double wind_phase = 0.0;
  int32_t branches = 0;
  for (auto _ : state) {
    sink.Clear();
    SeedRandom(tree_seed);
    trees::BranchDrawing<ArraySink> drawing(sink, wind_phase);
    drawing.DrawTree(kMaxX, kMaxY);
    branches = drawing.branch_counter;
    wind_phase = static_cast<Extended>(wind_phase) + 0.1L;
    benchmark::DoNotOptimize(sink.lines.data());
  }
  ReportTree(state, branches);
}
BENCHMARK(BM_WindyFrameFloor)->Unit(benchmark::kMillisecond);

void BM_WindyFrame(benchmark::State& state) {
  OpenCanvasOnce canvas;
  StartWindyTrees();
  int32_t branches = 0;
  for (auto _ : state) {
    branches = DrawWindyFrame();
    FinishWindyFrame(0);
  }
  ReportTree(state, branches);
}
BENCHMARK(BM_WindyFrame)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  setenv("LUMIVEX_BACKEND", "headless", 0);
  setenv("LUMIVEX_TICKS", kTicks, 1);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
