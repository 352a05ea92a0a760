// Bitmap storage and the nearest-entry search shared by colour tables and palettes.
#include "platform/raster/bitmap.h"

namespace lumivex {

Bitmap::Bitmap(int32_t width, int32_t height, PixelFormat format, int colour_count)
    : width_(width > 0 ? width : 0), height_(height > 0 ? height : 0), format_(format) {
  const size_t count = static_cast<size_t>(width_) * static_cast<size_t>(height_);
  if (format_ == PixelFormat::kIndexed8) {
    colour_count_ = colour_count <= 2 ? 2 : colour_count <= 16 ? 16 : 256;
    index_mask_ = static_cast<uint8_t>(colour_count_ - 1);
    index_pixels_ = std::make_unique<uint8_t[]>(count > 0 ? count : 1);
  } else {
    rgb_pixels_ = std::make_unique<uint32_t[]>(count > 0 ? count : 1);
  }
}

uint8_t Bitmap::NearestIndex(uint32_t rgb) const {
  return static_cast<uint8_t>(NearestEntry(colour_table_.data(), colour_count_, rgb));
}

int NearestEntry(const uint32_t* entries, int count, uint32_t rgb) {
  int best = 0;
  uint32_t best_distance = UINT32_MAX;
  for (int i = 0; i < count; ++i) {
    const uint32_t d = RgbDistance(entries[i], rgb);
    if (d < best_distance) {
      best_distance = d;
      best = i;
      if (d == 0) break;
    }
  }
  return best;
}

}  // namespace lumivex
