#include "perlin_textures.h"

#include <lumivex/mouse.h>
#include <lumivex/random.h>

namespace perlin_textures {

int16_t page = 0;
noise::SliceMatrix matrix{};
double depth = 0.0;
double band_divisor = 0.0;

namespace {

// The library's colour conversion and pixel setting.
struct CanvasWriter {
  static Colour Rgb(uint16_t red, uint16_t green, uint16_t blue) {
    return ColourFromRGB(red, green, blue);
  }
  static void Plot(int32_t column, int32_t row, Colour colour) {
    PlotPixel(static_cast<int16_t>(column), static_cast<int16_t>(row), colour);
  }
};

}  // namespace

void TakeBandDivisor(uint16_t mouse_row) {
  if (mouse_row != 0) {
    band_divisor = static_cast<double>(4 * static_cast<Extended>(mouse_row) / MaxX());
  }
}

void StartUp() {
  page = 0;
  SeedRandomFromTicks();
  matrix = noise::BuildSliceMatrix();
  depth = 0.0;
  noise::InitNoiseTables<Variant>();
  // Until the mouse reports a row the bands are drawn as if the pointer were on the middle row,
  // so the divisor is never 0 and every frame has a picture.
  band_divisor = 0.0;
  TakeBandDivisor(static_cast<uint16_t>(MaxY() / 2));
}

void DrawFrame() {
  // The window shows the page drawn in the previous frame while this one is drawn.
  SetDrawPage(static_cast<uint16_t>(page));
  page = static_cast<int16_t>(1 - page);
  SetShowPage(static_cast<uint16_t>(page));
  ClearCanvas();
  // One reading per frame, so a frame is drawn with one divisor.
  TakeBandDivisor(static_cast<uint16_t>(MouseY()));
  CanvasWriter writer;
  SampleSquare(writer);
}

bool EndFrame() {
  depth = static_cast<double>(static_cast<Extended>(depth) + 0.01L);
  return KeyWaiting();
}

}  // namespace perlin_textures
