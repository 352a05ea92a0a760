// The rules of the effects' tables.
#include "effect_tables.h"

#include <lumivex/numeric.h>

#include <cmath>

namespace effects {

namespace {

// trunc of a value that is always finite and small here; 0 would stand for a refused value.
int32_t Truncated(Extended v) {
  int64_t n = 0;
  TruncatedInteger(v, n);
  return static_cast<int32_t>(n);
}

}  // namespace

int32_t SineRule::operator()(int64_t i) const {
  const Extended angle = static_cast<Extended>(i) / k;
  return Truncated(std::sin(angle) * a);
}

int32_t FoldRule::operator()(int64_t i) const {
  // Integer division truncates toward zero, as trunc of the quotient does.
  if (i < 0) return static_cast<int32_t>(i - 255 * ((i - 254) / 255));
  return static_cast<int32_t>(i - 255 * ((i - 1) / 255));
}

int32_t StripeRule::operator()(int64_t i) const {
  if (i < -1024 || i > 1007) return 0;
  return (i + 1024) % 32 < 16 ? value : 0;
}

int32_t TwoSineRule::operator()(int64_t i) const {
  const Extended x = static_cast<Extended>(i);
  return Truncated(std::sin(x / 35) * 128 + std::sin(x / 17) * 72);
}

}  // namespace effects
