// The start-up and the image loop of plasma_family.
#include "plasma_family.h"

#include <lumivex/lumivex.h>
#include <lumivex/random.h>

#include <cstdio>

namespace plasma_family {

Coefficients DrawCoefficients() {
  Coefficients c;
  c.a = RandomBelow(1020) + 8;
  c.b1 = RandomBelow(1000) + 1;
  c.c1 = RandomBelow(5) + 0.01;
  c.d1 = RandomBelow(5) + 0.01;
  c.b2 = RandomBelow(1000) + 1;
  c.c2 = RandomBelow(5) + 0.01;
  c.d2 = RandomBelow(5) + 0.01;
  return c;
}

double Frequency(int16_t max_x) {
  return static_cast<double>((kPiExtended / max_x) * 2 + 0.001L);
}

void SetPlasmaPalette() {
  int32_t n = 0;
  for (uint16_t i = 0; i < 16; ++i) {
    for (uint16_t j = 0; j < 16; ++j) {
      SetPaletteRGB(static_cast<uint16_t>(n), 16 * i, 16 * j, 252 - 16 * i);
      ++n;
    }
  }
}

ImageEnd DrawImage(const Coefficients& c, double k, int16_t max_x, int16_t max_y) {
  for (int32_t y = 0; y < max_y; ++y) {
    for (int32_t x = 0; x < max_x; ++x) {
      PlotPixel(static_cast<int16_t>(x), static_cast<int16_t>(y), ColourIndex(c, k, x, y));
      if (KeyWaiting()) return ImageEnd::kKeyWaiting;
    }
  }
  return ImageEnd::kComplete;
}

int RunPlasmaFamily() {
  int16_t driver = 3, mode = 12;
  OpenCanvas(driver, mode, "FAMILIE DE PLASME");
  // Without a window no key could ever end the image loop.
  if (!CanvasIsOpen()) {
    std::fprintf(stderr, "plasma_family: the window could not be opened\n");
    return 1;
  }
  // A canvas one pixel wide (a screen that narrow) would make the frequency divide by zero.
  if (MaxX() < 1) {
    CloseCanvas();
    std::fprintf(stderr, "plasma_family: the canvas is too narrow to draw on\n");
    return 1;
  }
  int16_t page = 0;
  SetPlasmaPalette();
  const double k = Frequency(MaxX());
  SeedRandomFromTicks();
  for (;;) {
    const Coefficients c = DrawCoefficients();
    // A key during an image ends the program there; the library closes the window at exit.
    if (DrawImage(c, k, MaxX(), MaxY()) == ImageEnd::kKeyWaiting) return 0;
    SetDrawPage(static_cast<uint16_t>(page));
    page = static_cast<int16_t>(1 - page);
    SetShowPage(static_cast<uint16_t>(page));
    if (KeyWaiting()) {
      CloseCanvas();
      return 0;
    }
  }
}

}  // namespace plasma_family
