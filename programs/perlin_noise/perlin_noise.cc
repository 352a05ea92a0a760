#include "perlin_noise.h"

#include <lumivex/random.h>

namespace perlin_noise {

int16_t page = 0;
noise::SliceMatrix matrix{};
double scale = 64.0;
double frame_time = 0.0;

void StartUp() {
  page = 0;
  SeedRandomFromTicks();
  frame_time = 0.0;
  scale = 64.0;
  matrix = noise::BuildSliceMatrix();
  noise::InitNoiseTables<Variant>();
}

void DrawFrame() {
  // The window shows the page drawn in the previous frame while this one is drawn.
  SetShowPage(static_cast<uint16_t>(page));
  page = static_cast<int16_t>(1 - page);
  SetDrawPage(static_cast<uint16_t>(page));
  ClearCanvas();
  const int32_t left = MaxX() / 2 - kSide / 2;
  const int32_t top = MaxY() / 2 - kSide / 2;
  SampleSquare([left, top](int32_t column, int32_t row, Colour colour) {
    PlotPixel(static_cast<int16_t>(left + column), static_cast<int16_t>(top + row), colour);
  });
}

namespace {

// "a" raises the scale by 4 and "z" lowers it by 4, each wrapping within 4..100; upper-case
// letters and every other code leave it.
double ScaleAfterKey(double scale, uint8_t code) {
  if (code == 'a') {
    scale += kScaleStep;
    if (scale > kLargestScale) scale = kSmallestScale;
  } else if (code == 'z') {
    scale -= kScaleStep;
    if (scale < kSmallestScale) scale = kLargestScale;
  }
  return scale;
}

}  // namespace

bool EndFrame() {
  uint8_t code = 0;
  if (KeyWaiting()) {
    code = NextKey();
    // An extended key acts by its second code.
    if (code == 0) code = NextKey();
  }
  scale = ScaleAfterKey(scale, code);
  frame_time = static_cast<double>(static_cast<Extended>(frame_time) + 0.1L);
  return code == 27;
}

}  // namespace perlin_noise
