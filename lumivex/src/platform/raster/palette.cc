// Logical palette entries and the cached nearest-entry search.
#include "platform/raster/palette.h"

#include "platform/raster/bitmap.h"
#include "platform/raster/colour_ref.h"

namespace lumivex {

void LogicalPalette::Resize(int count) {
  if (count < 0) count = 0;
  if (count > 256) count = 256;
  for (int i = count_; i < count; ++i)
    entries_[i] = 0;
  count_ = count;
  ClearCache();
}

void LogicalPalette::SetEntry(int i, uint32_t rgb) {
  if (i < 0 || i >= count_) return;
  entries_[i] = rgb & kRgbMask;
  ClearCache();
}

void LogicalPalette::Assign(const uint32_t* rgb, int count) {
  Resize(count);
  for (int i = 0; i < count_; ++i)
    entries_[i] = rgb[i] & kRgbMask;
  ClearCache();
}

void LogicalPalette::ClearCache() {
  cache_.fill(CacheSlot{});
}

int LogicalPalette::Nearest(uint32_t rgb) const {
  rgb &= kRgbMask;
  const uint32_t slot = ((rgb * 0x9E3779B1u) >> 20) & (kCacheSize - 1);
  CacheSlot& cached = cache_[slot];
  if (cached.key == rgb) return cached.index;
  const int index = count_ > 0 ? NearestEntry(entries_.data(), count_, rgb) : 0;
  cached.key = rgb;
  cached.index = static_cast<uint16_t>(index);
  return index;
}

}  // namespace lumivex
