// Three-dimensional gradient noise on the integer lattice, repeating every 256 units along each
// axis: the tables (Perm, GradX, GradY, GradZ), their filling from the process-wide generator
// (InitNoiseTables) and the evaluation (Noise3D).
//
// Each program picks a table variant at compile time; the variant fixes the table length and
// the rule that turns a random draw into a gradient component. The tables of a variant are
// global, filled once and read-only afterwards, on the program's thread only.
//
// Every named intermediate of the evaluation is a double; each expression is formed in
// Extended and rounded to double where it is stored, in the order written below, so the values
// do not depend on how the compiler would otherwise arrange the arithmetic.
#pragma once

#include <lumivex/numeric.h>
#include <lumivex/random.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>

namespace noise {

// perlin_noise: 300 entries, components (d / 100) / 2 for a draw d in 0..99 (0 to 0.495).
struct PerlinNoiseVariant {
  static constexpr int32_t kTableLength = 300;
  static constexpr int32_t kDrawRange = 100;
  static double Component(int32_t d) {
    return static_cast<double>(static_cast<Extended>(d) / 100 / 2);
  }
};

// perlin_textures: 256 entries, components d / 2000 for a draw d in 0..999 (0 to 0.4995).
struct PerlinTexturesVariant {
  static constexpr int32_t kTableLength = 256;
  static constexpr int32_t kDrawRange = 1000;
  static double Component(int32_t d) {
    return static_cast<double>(static_cast<Extended>(d) / 2000);
  }
};

// A permutation of 0..kTableLength-1. The evaluation reads only entries 0..255, but the values
// it finds there can reach kTableLength-1 and index the gradient tables.
template <class Variant>
inline int32_t Perm[Variant::kTableLength];

// The gradient of hash h is (GradX[h], GradY[h], GradZ[h]); no component is negative and the
// vectors are not normalised.
template <class Variant>
inline double GradX[Variant::kTableLength];
template <class Variant>
inline double GradY[Variant::kTableLength];
template <class Variant>
inline double GradZ[Variant::kTableLength];

// Fills the variant's tables with 4 * kTableLength draws of the process-wide generator, which the
// caller has seeded.
template <class Variant>
void InitNoiseTables() {
  constexpr int32_t n = Variant::kTableLength;
  for (int32_t i = 0; i < n; ++i)
    Perm<Variant>[i] = i;
  // The partner is always among the first 256 entries, so with 300 entries the values 256..299
  // can land where the evaluation reads.
  for (int32_t i = 0; i < n; ++i) {
    const int32_t r = RandomBelow(16777215) & 255;
    std::swap(Perm<Variant>[i], Perm<Variant>[r]);
  }
  for (int32_t i = 0; i < n; ++i) {
    GradX<Variant>[i] = Variant::Component(RandomBelow(Variant::kDrawRange));
    GradY<Variant>[i] = Variant::Component(RandomBelow(Variant::kDrawRange));
    GradZ<Variant>[i] = Variant::Component(RandomBelow(Variant::kDrawRange));
  }
}

namespace detail {

// Where one coordinate lies: the wrapped numbers of its cell's two corners (0..255) and its
// offsets from them.
struct AxisPlace {
  int32_t low_corner;
  int32_t high_corner;
  double f;  // offset from the low corner, 0..1
  double g;  // f - 1, offset from the high corner
};

// [v] with halves to even, as a signed 32-bit cell number. Adding and taking away 1.5 * 2^63
// rounds v to an integer in the default rounding mode (to nearest, ties to even), since the sum
// lies where Extended's unit in the last place is 1. The integer goes through double, which
// holds it exactly, because a direct conversion of an Extended to an integer switches the x87
// rounding mode twice, which costs more than the rest of the cell's arithmetic. Beyond 2^52 in
// magnitude, and for NaN, the cell is 0: the result is meaningless there but defined, and no
// table is read out of bounds.
inline int32_t NearestCell(Extended v) {
  static_assert(std::numeric_limits<Extended>::digits == 64,
                "the cell rounding needs Extended with a 64-bit mantissa (x87 long double)");
  constexpr Extended kRounder = 0x1.8p63L;
  const auto nearest = static_cast<double>((v + kRounder) - kRounder);
  return std::fabs(v) < 0x1p52L ? static_cast<int32_t>(static_cast<int64_t>(nearest)) : 0;
}

inline AxisPlace PlaceOnAxis(double c) {
  // The cell is [c - 0.5]: floor(c) for a non-integer c, and for an integer c itself when even,
  // c - 1 when odd (with f = 1).
  const int32_t cell = NearestCell(static_cast<Extended>(c) - 0.5L);
  const double f = static_cast<double>(static_cast<Extended>(c) - cell);
  const double g = static_cast<double>(static_cast<Extended>(f) - 1);
  // The corner numbers are taken in two's complement, so cell -1 wraps to 255 and cell 255 + 1
  // to 0; unsigned arithmetic keeps cell + 1 defined for the largest cell too.
  const auto low = static_cast<uint32_t>(cell);
  return {static_cast<int32_t>(low & 255u), static_cast<int32_t>((low + 1u) & 255u), f, g};
}

// The cubic smooth step 3f^2 - 2f^3, taken from f, never from g.
inline double Fade(double f) {
  return static_cast<double>(((3.0L - 2.0L * static_cast<Extended>(f)) * f) * f);
}

// a - t * (a - b).
inline double Blend(double t, double a, double b) {
  return static_cast<double>(static_cast<Extended>(a) -
                             static_cast<Extended>(t) * (static_cast<Extended>(a) - b));
}

template <class Variant>
inline double Contribution(int32_t hash, double u, double v, double w) {
  return static_cast<double>(static_cast<Extended>(u) * GradX<Variant>[hash] +
                             static_cast<Extended>(v) * GradY<Variant>[hash] +
                             static_cast<Extended>(w) * GradZ<Variant>[hash]);
}

}  // namespace detail

// The noise at (x, y, z): 0 at every lattice point, within +-3 times the largest gradient
// component elsewhere. Reads the tables only; no allocation, no checks.
template <class Variant>
inline double Noise3D(double x, double y, double z) {
  using detail::Blend;
  using detail::Contribution;
  const int32_t* perm = Perm<Variant>;
  const detail::AxisPlace px = detail::PlaceOnAxis(x);
  const detail::AxisPlace py = detail::PlaceOnAxis(y);
  const detail::AxisPlace pz = detail::PlaceOnAxis(z);

  // The x corner is looked up first, then y is added, then z.
  const int32_t hx0 = perm[px.low_corner];
  const int32_t hx1 = perm[px.high_corner];
  const int32_t h00 = perm[(hx0 + py.low_corner) & 255];
  const int32_t h10 = perm[(hx1 + py.low_corner) & 255];
  const int32_t h01 = perm[(hx0 + py.high_corner) & 255];
  const int32_t h11 = perm[(hx1 + py.high_corner) & 255];

  // d_ijk: i is the x corner, j the y corner, k the z corner.
  const double d000 = Contribution<Variant>(perm[(h00 + pz.low_corner) & 255], px.f, py.f, pz.f);
  const double d100 = Contribution<Variant>(perm[(h10 + pz.low_corner) & 255], px.g, py.f, pz.f);
  const double d010 = Contribution<Variant>(perm[(h01 + pz.low_corner) & 255], px.f, py.g, pz.f);
  const double d110 = Contribution<Variant>(perm[(h11 + pz.low_corner) & 255], px.g, py.g, pz.f);
  const double d001 = Contribution<Variant>(perm[(h00 + pz.high_corner) & 255], px.f, py.f, pz.g);
  const double d101 = Contribution<Variant>(perm[(h10 + pz.high_corner) & 255], px.g, py.f, pz.g);
  const double d011 = Contribution<Variant>(perm[(h01 + pz.high_corner) & 255], px.f, py.g, pz.g);
  const double d111 = Contribution<Variant>(perm[(h11 + pz.high_corner) & 255], px.g, py.g, pz.g);

  const double sx = detail::Fade(px.f);
  const double sy = detail::Fade(py.f);
  const double sz = detail::Fade(pz.f);

  const double e00 = Blend(sx, d000, d100);
  const double e10 = Blend(sx, d010, d110);
  const double e01 = Blend(sx, d001, d101);
  const double e11 = Blend(sx, d011, d111);
  const double q0 = Blend(sy, e00, e10);
  const double q1 = Blend(sy, e01, e11);
  return Blend(sz, q0, q1);
}

}  // namespace noise
