// plasma_family: full-screen plasma images, one after another, until a key is waiting. Each
// image folds two sums of sines of the pixel coordinates, with seven random coefficients, into an
// index of a fixed 256-entry palette that spans red, green and blue.
#pragma once

#include <lumivex/numeric.h>

#include <cmath>
#include <cstdint>

namespace plasma_family {

// The coefficients of one image, drawn in this order.
struct Coefficients {
  double a = 0, b1 = 0, c1 = 0, d1 = 0, b2 = 0, c2 = 0, d2 = 0;
};

// Draws A, B1, C1, D1, B2, C2, D2 from the process-wide generator.
Coefficients DrawCoefficients();

// The frequency K = (pi / max_x) * 2 + 0.001; max_x must be positive.
double Frequency(int16_t max_x);

// The palette index of pixel (x, y): 16 (G div 16) + H div 16, where G = trunc|V2| mod 256 and
// H = trunc|V1 + V2| mod 256. Entry 16 i + j of the palette is (16 i, 16 j, 252 - 16 i).
inline uint8_t ColourIndex(const Coefficients& c, double k, int32_t x, int32_t y) {
  const Extended ex = x, ey = y, ek = k;
  const double v1 =
      static_cast<double>((std::sin(ex * k * ey / c.b1) - std::sin(ek * c.d1 * ey) * c.c1) * c.a);
  const double v2 =
      static_cast<double>((std::sin(ey * k * ex / c.b2) - std::sin(ek * c.d2 * ex) * c.c2) * c.a);
  // |V1| and |V2| stay below about 5200, so both truncations succeed.
  int64_t g = 0, h = 0;
  TruncatedInteger(std::fabs(static_cast<Extended>(v2)), g);
  TruncatedInteger(std::fabs(static_cast<Extended>(v1) + v2), h);
  return static_cast<uint8_t>((g & 0xF0) | ((h & 0xFF) >> 4));
}

// Sets the 256 palette entries.
void SetPlasmaPalette();

enum class ImageEnd { kComplete, kKeyWaiting };

// Draws one image on the draw page, row by row, all but the last column and row, asking after
// every pixel whether a key is waiting and stopping at once when one is.
ImageEnd DrawImage(const Coefficients& c, double k, int16_t max_x, int16_t max_y);

// The whole program. Returns the exit status: 1 with a message when the window cannot be opened.
int RunPlasmaFamily();

}  // namespace plasma_family
