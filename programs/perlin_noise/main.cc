// perlin_noise: see perlin_noise.h.
#include <lumivex/lumivex.h>

#include <cstdio>

#include "perlin_noise.h"

namespace {

int16_t driver;
int16_t mode;

}  // namespace

int main() {
  driver = 3;
  mode = 4;
  OpenCanvas(driver, mode, "PERLIN NOISE");
  // Without a window no key could ever arrive to end the loop.
  if (!CanvasIsOpen()) {
    std::fprintf(stderr, "perlin_noise: the window could not be opened\n");
    return 1;
  }
  perlin_noise::StartUp();
  do {
    perlin_noise::DrawFrame();
  } while (!perlin_noise::EndFrame());
  CloseCanvas();
  return 0;
}
