// Comparing a saved shot with a picture a test computed, pixel by pixel, and the default palette
// as RGB values that such pictures are painted in.
#pragma once

#include <gtest/gtest.h>
#include <lumivex/lumivex.h>

#include <array>
#include <cstdio>
#include <string>

#include "support/program_runner.h"

namespace lumivex::testing {

// The 256 entries of the default palette, red in the low byte.
inline std::array<uint32_t, 256> DefaultPaletteRgb() {
  PaletteRecord record{};
  GetDefaultPalette(record);
  std::array<uint32_t, 256> rgb{};
  for (int i = 0; i < 256; ++i) {
    const PaletteEntry& e = record.entries[i];
    rgb[i] = e.red | (e.green << 8) | (e.blue << 16);
  }
  return rgb;
}

// A black canvas-sized picture.
inline Picture BlackPicture(int32_t width, int32_t height) {
  return Picture{width, height, std::vector<uint32_t>(static_cast<size_t>(width) * height, 0)};
}

// Every pixel of the shot must match; on a mismatch the message names the first differing
// pixel, how many differ and where the shot was kept.
inline void ExpectShot(const std::string& path, const Picture& expected) {
  Picture actual;
  ASSERT_TRUE(ReadPng(path, &actual)) << "no shot at " << path;
  ASSERT_EQ(actual.width, expected.width);
  ASSERT_EQ(actual.height, expected.height);
  int64_t differing = 0;
  std::string first;
  for (int32_t y = 0; y < expected.height; ++y) {
    for (int32_t x = 0; x < expected.width; ++x) {
      if (actual.At(x, y) == expected.At(x, y)) continue;
      if (differing++ == 0) {
        char text[96];
        std::snprintf(text, sizeof text, "(%d, %d): shot %06X, expected %06X", x, y,
                      actual.At(x, y), expected.At(x, y));
        first = text;
      }
    }
  }
  EXPECT_EQ(differing, 0) << "first at " << first << "; shot kept at " << path;
}

}  // namespace lumivex::testing
