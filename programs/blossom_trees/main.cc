#include <lumivex/lumivex.h>
#include <lumivex/random.h>

#include <cstdio>

#include "blossom_trees.h"

namespace {

int16_t driver;
int16_t mode;
uint8_t last_key;

constexpr uint8_t kEscape = 27;

}  // namespace

int main() {
  driver = 3;
  mode = 6;
  OpenCanvas(driver, mode, "MERI INFLORITI");
  // Without a window every key wait returns 0 at once, so the tree loop would never end.
  if (!CanvasIsOpen()) {
    std::fprintf(stderr, "blossom_trees: the window could not be opened\n");
    return 1;
  }
  SeedRandomFromTicks();
  do {
    DrawBlossomTree();
    last_key = NextKey();
  } while (last_key != kEscape);
  CloseCanvas();
  return 0;
}
