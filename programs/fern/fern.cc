// fern: a fern leaf drawn by the random iteration of four affine maps, 128000 points in green on
// a 256-colour canvas; one key closes it.
#include <lumivex/lumivex.h>
#include <lumivex/numeric.h>
#include <lumivex/random.h>

#include <cstdio>

namespace {

int16_t driver;
int16_t mode;

// Map k (1..4) sends (x, y) to (A[k]x + B[k]y + E[k], C[k]x + D[k]y + F[k]).
double A[5], B[5], C[5], D[5], E[5], F[5];
double x, y;

constexpr int32_t kSteps = 128000;
constexpr double kScale = 100.0;
constexpr int64_t kOffsetX = 320;

void SetMap(int k, double a, double b, double c, double d, double e, double f) {
  A[k] = a;
  B[k] = b;
  C[k] = c;
  D[k] = d;
  E[k] = e;
  F[k] = f;
}

// r in -84..16: map 2 for 85 values, 3 for 7, 4 for 8 and 1 for the last one.
int32_t ChooseMap(int32_t r) {
  if (r <= 0) return 2;
  if (r <= 7) return 3;
  if (r <= 15) return 4;
  return 1;
}

}  // namespace

int main() {
  driver = 3;
  mode = 6;
  OpenCanvas(driver, mode, "FERIGA");
  // Without a window nothing would be drawn; say so rather than running through an empty picture.
  if (!CanvasIsOpen()) {
    std::fprintf(stderr, "fern: the window could not be opened\n");
    return 1;
  }
  SetMap(1, 0, 0, 0, 0.16, 0, 0);
  SetMap(2, 0.85, 0.04, -0.04, 0.85, 0, 1.6);
  SetMap(3, 0.2, -0.26, 0.23, 0.22, 0, 1.6);
  SetMap(4, -0.15, 0.28, 0.26, 0.24, 0, 0.44);
  x = 0;
  y = 0;
  SeedRandomFromTicks();

  for (int32_t step = 1; step <= kSteps; ++step) {
    const int32_t r = RandomBelow(101) - 84;
    const int32_t k = ChooseMap(r);
    const double new_x = static_cast<Extended>(A[k]) * x + static_cast<Extended>(B[k]) * y + E[k];
    const double new_y = static_cast<Extended>(C[k]) * x + static_cast<Extended>(D[k]) * y + F[k];
    x = new_x;
    y = new_y;
    int64_t column = 0;
    int16_t row = 0;
    if (NearestInteger(static_cast<Extended>(kScale) * new_x, column) &&
        NearestCoordinate(static_cast<Extended>(kScale) * new_y, row)) {
      PlotPixel(static_cast<int16_t>(static_cast<uint16_t>(column + kOffsetX)), row,
                PredefinedColours[105]);
    }
  }

  NextKey();
  CloseCanvas();
  return 0;
}
