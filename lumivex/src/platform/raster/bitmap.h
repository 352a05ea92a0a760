// Bitmaps: the pages, the window surface and the 8x8 fill pattern.
//
// An indexed bitmap holds one byte per pixel and a colour table of its own (2, 16 or 256 entries
// of RGB); an RGB bitmap holds one 32-bit RGB value per pixel. Rows are top-down, a row being
// data + y * width. The pixels are allocated once, when the bitmap is made; every pixel starts 0.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>

#include "platform/raster/colour_ref.h"

namespace lumivex {

enum class PixelFormat : uint8_t { kIndexed8, kRgb32 };

class Bitmap {
 public:
  // colour_count: the colour-table size of an indexed bitmap (2, 16 or 256); ignored for RGB.
  Bitmap(int32_t width, int32_t height, PixelFormat format, int colour_count = 256);

  int32_t width() const { return width_; }
  int32_t height() const { return height_; }
  PixelFormat format() const { return format_; }
  Rect bounds() const { return Rect{0, 0, width_, height_}; }

  uint8_t* Row8(int32_t y) { return index_pixels_.get() + static_cast<size_t>(y) * width_; }
  const uint8_t* Row8(int32_t y) const {
    return index_pixels_.get() + static_cast<size_t>(y) * width_;
  }
  uint32_t* Row32(int32_t y) { return rgb_pixels_.get() + static_cast<size_t>(y) * width_; }
  const uint32_t* Row32(int32_t y) const {
    return rgb_pixels_.get() + static_cast<size_t>(y) * width_;
  }
  // Row8 or Row32 by the pixel type, for code written once for both formats.
  template <typename Pixel>
  Pixel* Row(int32_t y) {
    if constexpr (sizeof(Pixel) == 1) {
      return Row8(y);
    } else {
      return Row32(y);
    }
  }

  // The colour table of an indexed bitmap.
  int colour_count() const { return colour_count_; }
  // Index values are kept within the table: 1, 15 or 255.
  uint8_t index_mask() const { return index_mask_; }
  uint32_t colour_table(int i) const { return colour_table_[i]; }
  void set_colour_table(int i, uint32_t rgb) { colour_table_[i] = rgb & kRgbMask; }
  const std::array<uint32_t, 256>& colour_table() const { return colour_table_; }

  // The RGB value of a pixel inside the bitmap (through the colour table when indexed).
  uint32_t RgbAt(int32_t x, int32_t y) const {
    return format_ == PixelFormat::kIndexed8 ? colour_table_[Row8(y)[x]] : Row32(y)[x];
  }

  // The nearest colour-table entry to an RGB value (squared distance, lowest index on ties).
  uint8_t NearestIndex(uint32_t rgb) const;

  // Set whenever pixels change; a display backend clears it when it has shown them. Any thread
  // may set it; the flag is only a hint and carries no data.
  void MarkChanged() { changed_.store(true, std::memory_order_relaxed); }
  bool TakeChanged() { return changed_.exchange(false, std::memory_order_relaxed); }

 private:
  int32_t width_;
  int32_t height_;
  PixelFormat format_;
  int colour_count_ = 0;
  uint8_t index_mask_ = 0;
  std::unique_ptr<uint8_t[]> index_pixels_;
  std::unique_ptr<uint32_t[]> rgb_pixels_;
  std::array<uint32_t, 256> colour_table_{};
  std::atomic<bool> changed_{false};
};

// Squared RGB distance; the nearest-entry searches use it.
inline uint32_t RgbDistance(uint32_t a, uint32_t b) {
  const int dr = static_cast<int>(RedOf(a)) - static_cast<int>(RedOf(b));
  const int dg = static_cast<int>(GreenOf(a)) - static_cast<int>(GreenOf(b));
  const int db = static_cast<int>(BlueOf(a)) - static_cast<int>(BlueOf(b));
  return static_cast<uint32_t>(dr * dr + dg * dg + db * db);
}

// The index of the entry nearest to rgb among entries[0..count-1], lowest index on ties.
int NearestEntry(const uint32_t* entries, int count, uint32_t rgb);

}  // namespace lumivex
