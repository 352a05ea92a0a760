// Each effect in its own window: run in this process with a script that presses a key as soon
// as each window is open, so every effect paints one frame and closes its window.
#include <gtest/gtest.h>
#include <lumivex/lumivex.h>

#include <string>

#include "effects.h"
#include "testing.h"

namespace {

TEST(EffectWindows, EachEffectOpensItsTitledWindowAndAKeyClosesIt) {
  bool (*const effects[])() = {effects::Effect1, effects::Effect2, effects::Effect3,
                               effects::Effect4, effects::Effect5, effects::Effect6,
                               effects::Effect7, effects::Effect8};
  for (int n = 1; n <= 8; ++n) {
    EXPECT_TRUE(effects[n - 1]()) << "effect " << n;
    EXPECT_EQ(lumivex::testing::WindowTitle(), "EFECT " + std::to_string(n));
    EXPECT_FALSE(CanvasIsOpen()) << "effect " << n;
  }
}

}  // namespace
