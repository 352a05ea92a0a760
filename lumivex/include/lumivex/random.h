// The process-wide pseudo-random generator and the millisecond tick count programs seed it from.
//
// The generator's algorithm is fixed (xoshiro128** seeded through splitmix64), so a seed gives
// the same draws on every build and compiler. LUMIVEX_TICKS=N makes TickCount() return N, so a
// picture seeded from the clock can be reproduced.
#pragma once

#include <cstdint>

// Milliseconds since an arbitrary start, or LUMIVEX_TICKS when set.
uint32_t TickCount();

// Restarts the generator's sequence from a seed.
void SeedRandom(uint32_t seed);

// SeedRandom(TickCount()).
void SeedRandomFromTicks();

// A uniform integer in 0..n-1 without modulo bias; 0 when n <= 0.
int32_t RandomBelow(int32_t n);
