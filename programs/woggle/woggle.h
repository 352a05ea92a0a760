// woggle: the Woggle fractal in true colour. Each picture is the orbit of a random iteration that
// turns and scales the point about the origin by an amount set by its distance, then shifts it to
// one of k points on the unit circle, which gives k-fold symmetry. Every key but Escape draws a
// new picture with a new random k; Escape ends the program.
#pragma once

#include <lumivex/numeric.h>
#include <lumivex/random.h>

#include <cmath>
#include <cstdint>

namespace woggle {

inline constexpr int32_t kSteps = 1000000;
inline constexpr int32_t kHiddenSteps = 100;  // the first steps of every picture are not drawn
inline constexpr int32_t kMaxSymmetry = 10;

// What a picture fixes before its orbit starts.
struct PictureSetup {
  int32_t k = 1;                                 // symmetry order 1..10
  double offset_x[kMaxSymmetry] = {};            // cos(2 pi i / k)
  double offset_y[kMaxSymmetry] = {};            // sin(2 pi i / k)
  double centre_x = 0, centre_y = 0, scale = 0;  // device position of the origin; pixels a unit
  double q = 0, r = 0;                           // sqrt(1.25 k) and 1 / q
};

// The setup for symmetry order k (1..10) on a canvas with the given largest column and row.
PictureSetup SetUpPicture(int32_t k, int16_t max_x, int16_t max_y);

// One step from (x, y), shifting by offset j: the point is turned and scaled by the matrix rows
// (-r, w) and (-w, -r), where w = 1 / (sqrt(3 (x^2 + y^2)) q) falls with the distance from the
// origin, then moved by the offset. Returns w. At the origin, or so near it that w overflows a
// double, w is infinite: the turn and scale of the zero vector are taken as zero, so the point
// moves to the offset itself, and the caller draws nothing for that step (it has no colour).
inline double StepPoint(const PictureSetup& p, int32_t j, double& x, double& y) {
  const Extended length =
      std::sqrt((static_cast<Extended>(x) * x + static_cast<Extended>(y) * y) * 3.0L) * p.q;
  const double w = length > 0 ? static_cast<double>(1.0L / length) : HUGE_VAL;
  if (!std::isfinite(w)) {
    x = p.offset_x[j];
    y = p.offset_y[j];
    return w;
  }
  const double new_x = static_cast<double>((-static_cast<Extended>(x)) * p.r +
                                           static_cast<Extended>(w) * y + p.offset_x[j]);
  const double new_y = static_cast<double>((-static_cast<Extended>(x)) * w -
                                           static_cast<Extended>(p.r) * y + p.offset_y[j]);
  x = new_x;
  y = new_y;
  return w;
}

// Runs the kSteps steps of one picture from (1, 1), drawing one random offset a step from the
// process-wide generator, and hands every drawn point to plot(column, row, red, green, blue):
// coordinates and components as the library receives them (low 16 bits), red and blue still to
// wrap to 8 bits. Points whose position or colour cannot be converted are not drawn.
template <typename Plot>
void IteratePicture(const PictureSetup& p, Plot&& plot) {
  double x = 1.0, y = 1.0;
  for (int32_t step = 0; step < kSteps; ++step) {
    const double w = StepPoint(p, RandomBelow(p.k), x, y);
    if (step < kHiddenSteps || !std::isfinite(w)) continue;
    const Extended ew = w;
    int16_t column = 0, row = 0;
    uint16_t red = 0, green = 0, blue = 0;
    if (NearestCoordinate(static_cast<Extended>(p.scale) * x + p.centre_x, column) &&
        NearestCoordinate(static_cast<Extended>(p.scale) * y + p.centre_y, row) &&
        NearestComponent(std::sin(ew * kPiExtended * 10.0L) * 255 - 255 * ew + 64, red) &&
        NearestComponent(std::sin(ew * kPiExtended * 8.0L) * 96 + 128, green) &&
        NearestComponent(std::cos(ew * kPiExtended * 3.0L) * 64 + 72 + 255 * ew, blue)) {
      plot(column, row, red, green, blue);
    }
  }
}

// Clears the canvas and draws one picture of symmetry order k.
void DrawPicture(int32_t k);

// The whole program. Returns the exit status: 1 with a message when the window cannot be opened.
int RunWoggle();

}  // namespace woggle
