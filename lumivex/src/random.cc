// The process-wide pseudo-random generator (xoshiro128**, seeded through splitmix64) and the
// millisecond tick count. Used on the program's thread only.
#include "lumivex/random.h"

#include <time.h>

#include <cstdio>
#include <cstdlib>

namespace {

uint32_t g_state[4] = {0x9E3779B9u, 0x243F6A88u, 0xB7E15162u, 0x3C6EF372u};

uint32_t RotateLeft(uint32_t x, int k) {
  return (x << k) | (x >> (32 - k));
}

uint32_t NextRandom() {
  const uint32_t result = RotateLeft(g_state[1] * 5, 7) * 9;
  const uint32_t t = g_state[1] << 9;
  g_state[2] ^= g_state[0];
  g_state[3] ^= g_state[1];
  g_state[1] ^= g_state[2];
  g_state[0] ^= g_state[3];
  g_state[2] ^= t;
  g_state[3] = RotateLeft(g_state[3], 11);
  return result;
}

// LUMIVEX_TICKS, read once; -1 when absent.
int64_t FixedTicks() {
  static const int64_t fixed = [] {
    const char* text = std::getenv("LUMIVEX_TICKS");
    if (text == nullptr || *text == '\0') return int64_t{-1};
    char* end = nullptr;
    const unsigned long long value = std::strtoull(text, &end, 10);
    if (*end != '\0' || value > 0xFFFFFFFFull) {
      std::fprintf(stderr, "lumivex: LUMIVEX_TICKS=%s is not a number of milliseconds\n", text);
      return int64_t{-1};
    }
    return static_cast<int64_t>(value);
  }();
  return fixed;
}

}  // namespace

uint32_t TickCount() {
  const int64_t fixed = FixedTicks();
  if (fixed >= 0) return static_cast<uint32_t>(fixed);
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<uint32_t>(static_cast<uint64_t>(now.tv_sec) * 1000u +
                               static_cast<uint64_t>(now.tv_nsec) / 1000000u);
}

void SeedRandom(uint32_t seed) {
  uint64_t x = seed;
  for (int i = 0; i < 4; i += 2) {
    // splitmix64
    uint64_t z = (x += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    g_state[i] = static_cast<uint32_t>(z);
    g_state[i + 1] = static_cast<uint32_t>(z >> 32);
  }
  if ((g_state[0] | g_state[1] | g_state[2] | g_state[3]) == 0) g_state[0] = 1;
}

void SeedRandomFromTicks() {
  SeedRandom(TickCount());
}

int32_t RandomBelow(int32_t n) {
  if (n <= 0) return 0;
  // Lemire's multiply-and-reject: no modulo bias.
  const uint32_t range = static_cast<uint32_t>(n);
  uint64_t product = static_cast<uint64_t>(NextRandom()) * range;
  uint32_t low = static_cast<uint32_t>(product);
  if (low < range) {
    const uint32_t threshold = (0u - range) % range;
    while (low < threshold) {
      product = static_cast<uint64_t>(NextRandom()) * range;
      low = static_cast<uint32_t>(product);
    }
  }
  return static_cast<int32_t>(product >> 32);
}
