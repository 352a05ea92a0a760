// perlin_textures: a marble-like texture in the 256 x 256 square at the top left of a 640 x 480
// palette canvas. Each pixel sums six octaves of the absolute gradient noise (a turbulence sum)
// and passes it through a sine whose period follows the mouse row, giving bands between light
// cyan, blue, magenta and violet. The sampled plane moves along its normal from frame to frame;
// any key ends the program.
//
// The state is global and lives on the program's thread. The sampling loops are a template over
// the colour and pixel writer, so a benchmark can run the same loops into a plain array.
#pragma once

#include <lumivex/lumivex.h>
#include <lumivex/numeric.h>

#include <cmath>
#include <cstdint>

#include "noise/noise.h"
#include "noise/slice_matrix.h"

namespace perlin_textures {

using Variant = noise::PerlinTexturesVariant;

inline constexpr int32_t kSide = 256;          // pixels and samples per side of the square
inline constexpr double kSpacing = 0.0078125;  // lattice steps per pixel (1/128)
inline constexpr int32_t kOctaves = 6;

extern int16_t page;               // the page on show (0 or 1)
extern noise::SliceMatrix matrix;  // turns the sampling plane
extern double depth;               // 0.01 more each frame
extern double band_divisor;        // P: the period of the bands, from the mouse row

// Everything after the window is open: page, seed, matrix, depth, noise tables, and the band
// divisor the program uses until the mouse reports a row.
void StartUp();

// Takes the band divisor from the mouse row (read as unsigned 16 bits); row 0 keeps the last one.
void TakeBandDivisor(uint16_t mouse_row);

// For every sample of the square calls writer.Plot(column, row, writer.Rgb(red, green, 255)),
// column and row 0..255. Pixel (c, r) samples, at octave frequency f, f * matrix * (c / 128,
// r / 128, depth); along a row the first column of the matrix is added step by step.
template <class Writer>
void SampleSquare(Writer& writer) {
  for (int32_t r = 0; r < kSide; ++r) {
    noise::SliceRow row(matrix, static_cast<double>(static_cast<Extended>(r) / 128), depth,
                        kSpacing);
    for (int32_t c = 0; c < kSide; ++c) {
      double turbulence = 0;
      double f = 1;
      for (int32_t octave = 1; octave <= kOctaves; ++octave) {
        const double n =
            noise::Noise3D<Variant>(static_cast<double>(static_cast<Extended>(row.x()) * f),
                                    static_cast<double>(static_cast<Extended>(row.y()) * f),
                                    static_cast<double>(static_cast<Extended>(row.z()) * f));
        turbulence = static_cast<double>(
            std::fabs(static_cast<Extended>(n) * (1 / static_cast<Extended>(f))) + turbulence);
        f = static_cast<double>(2 * static_cast<Extended>(f));
      }
      const double q =
          static_cast<double>(std::sin(static_cast<Extended>(turbulence) / band_divisor) * 255);
      // Red runs over -63..447 and green over 0..510; each is passed on as 16 bits, and the
      // colour conversion keeps the low byte of red and lets green spill into the blue byte.
      uint16_t red = 0;
      uint16_t green = 0;
      if (NearestComponent(192 - static_cast<Extended>(q), red) &&
          NearestComponent(255 - static_cast<Extended>(q), green)) {
        writer.Plot(c, r, writer.Rgb(red, green, 255));
      }
      row.Step();
    }
  }
}

// Shows the page drawn last, clears the other page, takes the band divisor from the mouse row
// and draws the square into the top left corner.
void DrawFrame();

// Advances the depth; true when a key is waiting (the key is left unread).
bool EndFrame();

}  // namespace perlin_textures
