// Small bitmaps for pixel-by-pixel tests of the rasteriser, and their pictures as ASCII art.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <sstream>
#include <string>

#include "platform/raster/device_context.h"

namespace lumivex::testing {

// Pen index 1 ('#'), back index 2 ('b'), transparent gaps; other indices show as digits.
inline constexpr uint32_t kPenIndex = 1;
inline constexpr uint32_t kBackIndex = 2;

class SmallBitmap {
 public:
  SmallBitmap(int32_t width, int32_t height) : bitmap_(width, height, PixelFormat::kIndexed8, 16) {
    dc_.SelectBitmap(&bitmap_);
    dc_.SetBackColour(PaletteIndexRef(kBackIndex));
    dc_.SetBackgroundMode(BackgroundMode::kTransparent);
    SetPen(PenStyle::kSolid, 1);
  }

  DeviceContext& dc() { return dc_; }
  Bitmap& bitmap() { return bitmap_; }

  void SetPen(PenStyle style, uint32_t width) {
    dc_.SetPen(Pen{style, width, PaletteIndexRef(kPenIndex)});
  }
  void Line(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    dc_.MoveTo(x0, y0);
    dc_.LineTo(x1, y1);
  }

  std::string Art() const {
    std::string art;
    for (int32_t y = 0; y < bitmap_.height(); ++y) {
      for (int32_t x = 0; x < bitmap_.width(); ++x) {
        const uint8_t v = bitmap_.Row8(y)[x];
        art += v == 0            ? '.'
               : v == kPenIndex  ? '#'
               : v == kBackIndex ? 'b'
                                 : static_cast<char>('0' + v % 10);
      }
      art += '\n';
    }
    return art;
  }
  int Count(uint8_t value) const {
    int n = 0;
    for (int32_t y = 0; y < bitmap_.height(); ++y) {
      for (int32_t x = 0; x < bitmap_.width(); ++x)
        n += bitmap_.Row8(y)[x] == value;
    }
    return n;
  }

 private:
  Bitmap bitmap_;
  DeviceContext dc_;
};

inline std::string Picture(std::initializer_list<const char*> rows) {
  std::string art;
  for (const char* row : rows)
    (art += row) += '\n';
  return art;
}

// Equal pictures, or the first differing pixel and both pictures.
inline ::testing::AssertionResult SamePicture(const std::string& actual,
                                              const std::string& expected) {
  if (actual == expected) return ::testing::AssertionSuccess();
  int x = 0, y = 0;
  for (size_t i = 0; i < std::min(actual.size(), expected.size()); ++i) {
    if (actual[i] != expected[i]) {
      std::ostringstream out;
      out << "first difference at (" << x << ", " << y << "): expected '" << expected[i]
          << "', got '" << actual[i] << "'\nexpected:\n"
          << expected << "actual:\n"
          << actual;
      return ::testing::AssertionFailure() << out.str();
    }
    if (actual[i] == '\n') {
      x = 0, ++y;
    } else {
      ++x;
    }
  }
  return ::testing::AssertionFailure() << "pictures differ in size\nexpected:\n"
                                       << expected << "actual:\n"
                                       << actual;
}

}  // namespace lumivex::testing
