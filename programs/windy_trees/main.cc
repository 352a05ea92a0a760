#include <lumivex/lumivex.h>

#include <cstdio>

#include "windy_trees.h"

namespace {

int16_t driver;
int16_t mode;
uint8_t last_key;

constexpr uint8_t kEscape = 27;

}  // namespace

int main() {
  driver = 3;
  mode = 6;
  OpenCanvas(driver, mode, "MERI INFLORITI BATUTI DE VANT");
  // Without a window no key ever arrives, so the frame loop would never end.
  if (!CanvasIsOpen()) {
    std::fprintf(stderr, "windy_trees: the window could not be opened\n");
    return 1;
  }
  StartWindyTrees();
  do {
    DrawWindyFrame();
    last_key = TakeFrameKey();
    FinishWindyFrame(last_key);
  } while (last_key != kEscape);
  CloseCanvas();
  return 0;
}
