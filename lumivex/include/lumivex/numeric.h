// Arithmetic shared by the programs: the extended-precision type and the conversions of real
// values to integers, coordinates and colour components.
//
// Programs form their expressions in Extended (a 64-bit mantissa on x86-64) and store named
// values as double. Every real that becomes a pixel coordinate or a colour component passes
// through one of the conversions below: they round to the nearest integer with halves to the
// even neighbour and keep the low 16 bits, as a 16-bit argument would, and they refuse values
// that are NaN, infinite or beyond the 64-bit integer range, so no conversion is ever undefined.
#pragma once

#include <cmath>
#include <cstdint>

// The extended-precision real: long double, with a 64-bit mantissa on x86-64.
using Extended = long double;

// pi to extended precision.
inline constexpr Extended kPiExtended = 3.141592653589793238462643383279502884L;

// Sets out to the integer nearest to v, halves to even, and returns true; returns false and
// leaves out alone when v is NaN, infinite or outside the 64-bit range.
inline bool NearestInteger(Extended v, int64_t& out) {
  // 2^63 is exact in Extended; anything at or beyond it (or NaN) is refused.
  constexpr Extended kLimit = 9223372036854775808.0L;
  if (!(v > -kLimit && v < kLimit)) return false;
  // The default rounding mode rounds to nearest, ties to even. Within the range every Extended
  // rounds to a value below 2^63 (the spacing there is 1), so the result always fits.
  out = static_cast<int64_t>(std::llrint(v));
  return true;
}

// Sets out to [v] as a 16-bit signed coordinate (the low 16 bits of the nearest integer); false
// as for NearestInteger.
inline bool NearestCoordinate(Extended v, int16_t& out) {
  int64_t n = 0;
  if (!NearestInteger(v, n)) return false;
  out = static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint64_t>(n)));
  return true;
}

// Sets out to [v] as a 16-bit unsigned colour component (the low 16 bits of the nearest
// integer); false as for NearestInteger.
inline bool NearestComponent(Extended v, uint16_t& out) {
  int64_t n = 0;
  if (!NearestInteger(v, n)) return false;
  out = static_cast<uint16_t>(static_cast<uint64_t>(n));
  return true;
}

// Sets out to trunc(v), v cut toward zero, and returns true; false and out left alone as for
// NearestInteger.
inline bool TruncatedInteger(Extended v, int64_t& out) {
  constexpr Extended kLimit = 9223372036854775808.0L;
  if (!(v > -kLimit && v < kLimit)) return false;
  out = static_cast<int64_t>(v);
  return true;
}
