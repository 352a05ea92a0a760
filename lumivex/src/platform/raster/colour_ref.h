// Colour references as the device contexts take them, and the RGB form pixels are kept in.
//
// An RGB value is 0x00bbggrr (red in the low byte), the order the library's colour values use, so
// true-colour pages and the window surface store colour values as they come. A palette-index
// reference is 0x01000000 + i: entry i of the logical palette selected into the device context.
#pragma once

#include <cstdint>

namespace lumivex {

using ColourRef = uint32_t;

inline constexpr ColourRef kInvalidColour = 0xFFFFFFFFu;
inline constexpr uint32_t kRgbMask = 0x00FFFFFFu;

inline constexpr ColourRef PaletteIndexRef(uint32_t index) {
  return 0x01000000u | index;
}
inline constexpr bool IsPaletteIndexRef(ColourRef c) {
  return (c >> 24) == 0x01;
}
inline constexpr uint32_t PaletteIndexOf(ColourRef c) {
  return c & 0xFFFFu;
}

inline constexpr uint32_t MakeRgb(uint32_t red, uint32_t green, uint32_t blue) {
  return (red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16);
}
inline constexpr uint32_t RedOf(uint32_t rgb) {
  return rgb & 0xFF;
}
inline constexpr uint32_t GreenOf(uint32_t rgb) {
  return (rgb >> 8) & 0xFF;
}
inline constexpr uint32_t BlueOf(uint32_t rgb) {
  return (rgb >> 16) & 0xFF;
}

// A rectangle with exclusive right and bottom edges.
struct Rect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;

  bool Empty() const { return right <= left || bottom <= top; }
  bool Contains(int32_t x, int32_t y) const {
    return x >= left && x < right && y >= top && y < bottom;
  }
  Rect Intersect(const Rect& o) const {
    Rect r{left > o.left ? left : o.left, top > o.top ? top : o.top,
           right < o.right ? right : o.right, bottom < o.bottom ? bottom : o.bottom};
    if (r.Empty()) return Rect{};
    return r;
  }
  Rect Union(const Rect& o) const {
    if (Empty()) return o;
    if (o.Empty()) return *this;
    return Rect{left < o.left ? left : o.left, top < o.top ? top : o.top,
                right > o.right ? right : o.right, bottom > o.bottom ? bottom : o.bottom};
  }
  bool operator==(const Rect&) const = default;
};

}  // namespace lumivex
