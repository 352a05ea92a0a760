// perlin_textures: see perlin_textures.h.
#include <lumivex/lumivex.h>

#include <cstdio>

#include "perlin_textures.h"

namespace {

int16_t driver;
int16_t mode;

}  // namespace

int main() {
  driver = 3;
  mode = 4;
  OpenCanvas(driver, mode, "TEXTURI PERLIN");
  // Without a window no key could ever arrive to end the loop.
  if (!CanvasIsOpen()) {
    std::fprintf(stderr, "perlin_textures: the window could not be opened\n");
    return 1;
  }
  perlin_textures::StartUp();
  do {
    perlin_textures::DrawFrame();
  } while (!perlin_textures::EndFrame());
  CloseCanvas();
  return 0;
}
