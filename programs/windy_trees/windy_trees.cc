#include "windy_trees.h"

#include <lumivex/lumivex.h>
#include <lumivex/numeric.h>
#include <lumivex/random.h>

#include "trees.h"

namespace {

int16_t page;       // the page the next frame is drawn into, 0 or 1
int32_t tree_seed;  // 0..999999, fixes the tree's shape
double wind_phase;  // grows by 0.1 a frame, never reset

constexpr int32_t kTreeSeeds = 1000000;
constexpr Extended kWindStep = 0.1L;
constexpr uint8_t kEnter = 13;

}  // namespace

void StartWindyTrees() {
  page = 0;
  SeedRandomFromTicks();
  tree_seed = RandomBelow(kTreeSeeds);
  wind_phase = 0.0;
}

int32_t DrawWindyFrame() {
  SeedRandom(static_cast<uint32_t>(tree_seed));
  SetDrawPage(static_cast<uint16_t>(page));
  page = static_cast<int16_t>(1 - page);
  SetShowPage(static_cast<uint16_t>(page));
  ClearCanvas();
  return trees::DrawTree(wind_phase);
}

uint8_t TakeFrameKey() {
  if (!KeyWaiting()) return 0;
  const uint8_t key = NextKey();
  return key == 0 ? NextKey() : key;
}

void FinishWindyFrame(uint8_t key) {
  wind_phase = static_cast<Extended>(wind_phase) + kWindStep;
  if (key == kEnter) tree_seed = RandomBelow(kTreeSeeds);
}
