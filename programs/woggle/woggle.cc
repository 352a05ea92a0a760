// The picture loop of woggle.
#include "woggle.h"

#include <lumivex/lumivex.h>

#include <cstdio>

namespace woggle {

namespace {

constexpr uint8_t kEscape = 27;

double Smaller(double u, double v) {
  return u < v ? u : v;
}

}  // namespace

PictureSetup SetUpPicture(int32_t k, int16_t max_x, int16_t max_y) {
  PictureSetup p;
  p.k = k;
  for (int32_t i = 0; i < k; ++i) {
    const Extended angle = ((kPiExtended * 2.0L) * i) / k;
    p.offset_x[i] = static_cast<double>(std::cos(angle));
    p.offset_y[i] = static_cast<double>(std::sin(angle));
  }
  p.centre_x = static_cast<double>(max_x * 0.5L);
  p.centre_y = static_cast<double>(max_y * 0.5L);
  p.scale = static_cast<double>(Smaller(p.centre_x, p.centre_y) * 0.5L);
  p.q = static_cast<double>(std::sqrt(k * 1.25L));
  p.r = static_cast<double>(1.0L / p.q);
  return p;
}

void DrawPicture(int32_t k) {
  ClearCanvas();
  IteratePicture(SetUpPicture(k, MaxX(), MaxY()),
                 [](int16_t column, int16_t row, uint16_t red, uint16_t green, uint16_t blue) {
                   PlotPixel(column, row, ColourFromRGB(red, green, blue));
                 });
}

int RunWoggle() {
  int16_t driver = 9, mode = 6;
  OpenCanvas(driver, mode, "FRACTALUL WOGGLE");
  if (!CanvasIsOpen()) {
    // Without a window the key wait returns 0 at once and never Escape.
    std::fprintf(stderr, "woggle: the window could not be opened\n");
    return 1;
  }
  SeedRandomFromTicks();
  uint8_t key = 0;
  do {
    DrawPicture(RandomBelow(kMaxSymmetry) + 1);
    key = NextKey();
  } while (key != kEscape);
  CloseCanvas();
  return 0;
}

}  // namespace woggle
