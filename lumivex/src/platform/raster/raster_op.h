// The 16 binary raster operations that combine a pen pixel P with the destination pixel D.
//
// Codes are 1..16 (black .. white, copy-pen is 13). Bit i of (code - 1) gives the result for the
// bit pair (P, D) = (i >> 1, i & 1), so one formula serves palette indices and RGB alike.
#pragma once

#include <cstdint>

namespace lumivex {

enum class RasterOp : uint8_t {
  kBlack = 1,
  kNotMergePen = 2,
  kMaskNotPen = 3,
  kNotCopyPen = 4,
  kMaskPenNot = 5,
  kNot = 6,
  kXorPen = 7,
  kNotMaskPen = 8,
  kMaskPen = 9,
  kNotXorPen = 10,
  kNop = 11,
  kMergeNotPen = 12,
  kCopyPen = 13,
  kMergePenNot = 14,
  kMergePen = 15,
  kWhite = 16,
};

inline constexpr uint32_t ApplyRasterOp(RasterOp op, uint32_t pen, uint32_t dest) {
  const uint32_t truth = static_cast<uint32_t>(op) - 1;
  uint32_t result = 0;
  if (truth & 1) result |= ~pen & ~dest;
  if (truth & 2) result |= ~pen & dest;
  if (truth & 4) result |= pen & ~dest;
  if (truth & 8) result |= pen & dest;
  return result;
}

}  // namespace lumivex
