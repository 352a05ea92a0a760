// perlin_noise: a 300 x 300 slice through the gradient noise in the middle of a 640 x 480
// palette canvas. The sampled plane is turned about a fixed oblique axis and moves along its
// normal from frame to frame; "a" and "z" change the scale, Escape ends the program.
//
// The state is global and lives on the program's thread. The sampling loops are a template over
// the pixel writer, so a benchmark can run the same loops into a plain array.
#pragma once

#include <lumivex/lumivex.h>
#include <lumivex/numeric.h>

#include <cstdint>

#include "noise/noise.h"
#include "noise/slice_matrix.h"

namespace perlin_noise {

using Variant = noise::PerlinNoiseVariant;

inline constexpr int32_t kSide = 300;  // pixels and samples per side of the square
inline constexpr double kScaleStep = 4.0;
inline constexpr double kSmallestScale = 4.0;
inline constexpr double kLargestScale = 100.0;

extern int16_t page;               // the page drawn last (0 or 1)
extern noise::SliceMatrix matrix;  // turns the sampling plane
extern double scale;               // pixels per lattice step, a multiple of 4 in 4..100
extern double frame_time;          // 0.1 more each frame; the slice lies at depth frame_time / 2

// Everything after the window is open: page, seed, scale, time, matrix and noise tables.
void StartUp();

// Calls plot(column, row, colour) for every sample of the square, column and row 0..299. Pixel
// (j, i) samples matrix * (j / scale, i / scale, frame_time / 2); along a row the first column
// of the matrix is added step by step rather than multiplied.
template <class Plot>
void SampleSquare(Plot&& plot) {
  const double w = static_cast<double>(static_cast<Extended>(frame_time) / 2);
  const double k = static_cast<double>(1 / static_cast<Extended>(scale));
  for (int32_t i = 0; i < kSide; ++i) {
    noise::SliceRow row(matrix, static_cast<double>(static_cast<Extended>(i) / scale), w, k);
    for (int32_t j = 0; j < kSide; ++j) {
      const double n = noise::Noise3D<Variant>(row.x(), row.y(), row.z());
      // n lies within +-1.485, so the value is 118..497; the palette takes it modulo 256.
      int64_t level = 0;
      if (NearestInteger((static_cast<Extended>(n) + 1) * 127.5L, level)) {
        plot(j, i, static_cast<Colour>(level + 180));
      }
      row.Step();
    }
  }
}

// Shows the page drawn last, clears the other page and draws the square into it, centred on
// the canvas (columns 169..468, rows 89..388 of 640 x 480).
void DrawFrame();

// Takes at most one key (both codes of an extended key) and acts on it, then advances the time.
// True when the key was Escape.
bool EndFrame();

}  // namespace perlin_noise
