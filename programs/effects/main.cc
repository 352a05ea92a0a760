// effects: eight animated effects, each in a window of its own ("EFECT 1" .. "EFECT 8"); a key
// ends the effect that is running and the next one starts; after the eighth the program ends.
#include <cstdio>

#include "effects.h"

int main() {
  constexpr bool (*kEffects[])() = {effects::Effect1, effects::Effect2, effects::Effect3,
                                    effects::Effect4, effects::Effect5, effects::Effect6,
                                    effects::Effect7, effects::Effect8};
  for (bool (*effect)() : kEffects) {
    if (!effect()) {
      std::fprintf(stderr, "effects: the window could not be opened\n");
      return 1;
    }
  }
  return 0;
}
