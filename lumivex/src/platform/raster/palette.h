// The logical palette of a palette-mode canvas: up to 256 RGB entries and a nearest-entry search.
//
// The search (squared RGB distance, lowest index on ties) answers ReadPixel, ColourFromRGB and
// the mapping of the predefined colours. Programs ask it for the same few colours again and
// again, so answers are remembered in a small direct-mapped cache that every change clears.
// Written and searched on the program's thread only; device contexts read the entries under the
// canvas lock.
#pragma once

#include <array>
#include <cstdint>

namespace lumivex {

class LogicalPalette {
 public:
  explicit LogicalPalette(int count = 256) { Resize(count); }

  int count() const { return count_; }
  uint32_t entry(int i) const { return entries_[i]; }
  const uint32_t* entries() const { return entries_.data(); }

  // Entries beyond the old count become black.
  void Resize(int count);
  void SetEntry(int i, uint32_t rgb);
  // Resizes to count entries and sets them all.
  void Assign(const uint32_t* rgb, int count);

  int Nearest(uint32_t rgb) const;

 private:
  static constexpr int kCacheSize = 4096;
  struct CacheSlot {
    uint32_t key = 0xFFFFFFFFu;  // rgb, or all ones when empty
    uint16_t index = 0;
  };
  void ClearCache();

  int count_ = 0;
  std::array<uint32_t, 256> entries_{};
  mutable std::array<CacheSlot, kCacheSize> cache_;
};

}  // namespace lumivex
