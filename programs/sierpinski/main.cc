#include <lumivex/lumivex.h>

#include <cstdio>

#include "sierpinski.h"

namespace {

int16_t driver;
int16_t mode;

}  // namespace

int main() {
  driver = 3;
  mode = 4;
  OpenCanvas(driver, mode, "TRIUNGHIUL LUI SIERPINSKI");
  // Without a window nothing would be drawn; say so rather than pausing through an empty figure.
  if (!CanvasIsOpen()) {
    std::fprintf(stderr, "sierpinski: the window could not be opened\n");
    return 1;
  }
  DrawSierpinski();
  NextKey();
  CloseCanvas();
  return 0;
}
