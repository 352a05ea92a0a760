// The gradient noise: table filling, the properties of Noise3D on seeded tables of both
// variants, and exact values on hand-made tables.
#include "noise/noise.h"

#include <gtest/gtest.h>
#include <lumivex/random.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

#include "noise/slice_matrix.h"

namespace {

using noise::GradX;
using noise::GradY;
using noise::GradZ;
using noise::Noise3D;
using noise::PerlinNoiseVariant;
using noise::PerlinTexturesVariant;
using noise::Perm;

constexpr uint32_t kSeeds[] = {1, 2026, 123456789, 4000000000u};

// The largest |noise|: three offsets of at most 1 times the largest gradient component.
template <class Variant>
constexpr double kBound = 0;
template <>
constexpr double kBound<PerlinNoiseVariant> = 1.485;
template <>
constexpr double kBound<PerlinTexturesVariant> = 1.4985;

template <class Variant>
class NoiseTest : public ::testing::Test {
 protected:
  static constexpr int32_t kN = Variant::kTableLength;
  static double Noise(double x, double y, double z) { return Noise3D<Variant>(x, y, z); }
  static void Fill(uint32_t seed) {
    SeedRandom(seed);
    noise::InitNoiseTables<Variant>();
  }
};

using Variants = ::testing::Types<PerlinNoiseVariant, PerlinTexturesVariant>;
TYPED_TEST_SUITE(NoiseTest, Variants);

// Replays the stated order of draws: N partners for the swaps, then three components per entry.
// The draw that follows must be the one after exactly 4 * N draws.
TYPED_TEST(NoiseTest, InitNoiseTablesDrawsInOrderAndMixes) {
  constexpr int32_t n = TestFixture::kN;
  for (uint32_t seed : kSeeds) {
    SCOPED_TRACE(seed);
    SeedRandom(seed);
    std::vector<int32_t> perm(n);
    std::iota(perm.begin(), perm.end(), 0);
    for (int32_t i = 0; i < n; ++i)
      std::swap(perm[i], perm[RandomBelow(16777215) & 255]);
    std::vector<int32_t> draws(3 * n);
    for (int32_t& d : draws)
      d = RandomBelow(TypeParam::kDrawRange);
    const int32_t next_draw = RandomBelow(1 << 30);

    TestFixture::Fill(seed);
    EXPECT_EQ(RandomBelow(1 << 30), next_draw);
    EXPECT_TRUE(std::equal(perm.begin(), perm.end(), Perm<TypeParam>));
    for (int32_t i = 0; i < n; ++i) {
      ASSERT_EQ(GradX<TypeParam>[i], TypeParam::Component(draws[3 * i]));
      ASSERT_EQ(GradY<TypeParam>[i], TypeParam::Component(draws[3 * i + 1]));
      ASSERT_EQ(GradZ<TypeParam>[i], TypeParam::Component(draws[3 * i + 2]));
    }

    // A permutation of 0..N-1; with 300 entries values above 255 reach the first 256 entries.
    std::vector<int32_t> sorted(Perm<TypeParam>, Perm<TypeParam> + n);
    std::sort(sorted.begin(), sorted.end());
    std::vector<int32_t> identity(n);
    std::iota(identity.begin(), identity.end(), 0);
    EXPECT_EQ(sorted, identity);
    const int32_t largest_read = *std::max_element(Perm<TypeParam>, Perm<TypeParam> + 256);
    EXPECT_EQ(largest_read >= 256, n > 256) << largest_read;
  }
}

TEST(NoiseComponents, StatedSteps) {
  EXPECT_EQ(PerlinNoiseVariant::Component(0), 0.0);
  EXPECT_DOUBLE_EQ(PerlinNoiseVariant::Component(1), 0.005);
  EXPECT_DOUBLE_EQ(PerlinNoiseVariant::Component(99), 0.495);
  EXPECT_DOUBLE_EQ(PerlinTexturesVariant::Component(1), 0.0005);
  EXPECT_DOUBLE_EQ(PerlinTexturesVariant::Component(999), 0.4995);
}

TYPED_TEST(NoiseTest, ZeroAtLatticePoints) {
  const double points[][3] = {{0, 0, 0},     {1, 2, 3},    {-1, -2, -3},      {255, 256, 257},
                              {7, -8, 1001}, {-255, 3, 0}, {65537, -65536, 5}};
  for (uint32_t seed : kSeeds) {
    TestFixture::Fill(seed);
    for (const auto& p : points) {
      EXPECT_EQ(TestFixture::Noise(p[0], p[1], p[2]), 0.0) << p[0] << " " << p[1] << " " << p[2];
    }
  }
}

// An odd integer coordinate belongs to the cell below with offset 1; the noise must meet the
// values of both neighbouring cells there.
TYPED_TEST(NoiseTest, ContinuousAcrossOddIntegers) {
  constexpr double kStep = 1e-9;
  TestFixture::Fill(2026);
  for (double odd : {1.0, 3.0, -1.0, 255.0, -255.0}) {
    for (int axis = 0; axis < 3; ++axis) {
      double p[3] = {0.3, 17.61, -4.2};
      auto at = [&](double c) {
        p[axis] = c;
        return TestFixture::Noise(p[0], p[1], p[2]);
      };
      const double centre = at(odd);
      EXPECT_NEAR(at(odd - kStep), centre, 1e-8) << odd << " axis " << axis;
      EXPECT_NEAR(at(odd + kStep), centre, 1e-8) << odd << " axis " << axis;
    }
  }
}

// Negative coordinates wrap into the cells 255, 0, ...: the noise repeats every 256 units along
// each axis, to the last bit whenever the shifted coordinate is exact (as it is for these).
TYPED_TEST(NoiseTest, RepeatsEvery256AlongEachAxis) {
  const double points[][3] = {{-0.25, 0.5, 0.75},
                              {12.375, -3.5, 100.0625},
                              {-300.8125, 7.703125, -0.015625},
                              {1.5, 255.998046875, -128.5}};
  for (uint32_t seed : kSeeds) {
    TestFixture::Fill(seed);
    for (const auto& p : points) {
      const double value = TestFixture::Noise(p[0], p[1], p[2]);
      EXPECT_EQ(TestFixture::Noise(p[0] + 256, p[1], p[2]), value);
      EXPECT_EQ(TestFixture::Noise(p[0], p[1] + 256, p[2]), value);
      EXPECT_EQ(TestFixture::Noise(p[0], p[1], p[2] - 256), value);
      EXPECT_EQ(TestFixture::Noise(p[0] - 512, p[1] + 768, p[2] + 256), value);
    }
  }
}

TYPED_TEST(NoiseTest, StaysWithinBoundAndTakesBothSigns) {
  double lowest = 0, highest = 0;
  for (uint32_t seed : kSeeds) {
    TestFixture::Fill(seed);
    SeedRandom(seed + 7);
    for (int i = 0; i < 20000; ++i) {
      auto coordinate = [] { return (RandomBelow(1 << 24) - (1 << 23)) / 16384.0; };
      const double n = TestFixture::Noise(coordinate(), coordinate(), coordinate());
      lowest = std::min(lowest, n);
      highest = std::max(highest, n);
    }
  }
  EXPECT_GE(lowest, -kBound<TypeParam>);
  EXPECT_LE(highest, kBound<TypeParam>);
  EXPECT_LT(lowest, -0.1);
  EXPECT_GT(highest, 0.1);
}

// The cell is [c - 0.5] with halves to even; corners wrap in two's complement.
TEST(NoiseCells, CornersAndOffsets) {
  struct Case {
    double c;
    int32_t low, high;
    double f;
  };
  const Case cases[] = {
      {0.0, 0, 1, 0.0},       {0.25, 0, 1, 0.25},
      {3.0, 2, 3, 1.0},       {4.0, 4, 5, 0.0},
      {-0.25, 255, 0, 0.75},  {-1.0, 254, 255, 1.0},
      {255.5, 255, 0, 0.5},   {-256.5, 255, 0, 0.5},
      {1e9 + 0.5, 0, 1, 0.5}, {-1e9 - 0.25, 255, 0, 0.75},
  };
  for (const Case& k : cases) {
    const noise::detail::AxisPlace place = noise::detail::PlaceOnAxis(k.c);
    EXPECT_EQ(place.low_corner, k.low) << k.c;
    EXPECT_EQ(place.high_corner, k.high) << k.c;
    EXPECT_EQ(place.f, k.f) << k.c;
    EXPECT_EQ(place.g, k.f - 1) << k.c;
  }
}

// Coordinates no program passes still read inside the tables (the address sanitizer build
// would notice otherwise) and give some value.
TEST(NoiseCells, NonFiniteAndHugeCoordinatesStayInsideTheTables) {
  SeedRandom(5);
  noise::InitNoiseTables<PerlinNoiseVariant>();
  const double nan = std::nan("");
  const double inf = HUGE_VAL;
  const double odd[] = {nan, inf, -inf, 1e300, -1e19, 4.6e18};
  for (double c : odd) {
    const noise::detail::AxisPlace place = noise::detail::PlaceOnAxis(c);
    EXPECT_GE(place.low_corner, 0);
    EXPECT_LE(place.low_corner, 255);
    EXPECT_GE(place.high_corner, 0);
    EXPECT_LE(place.high_corner, 255);
    volatile double value = Noise3D<PerlinNoiseVariant>(c, 0.5, c);
    (void)value;
  }
}

// Hand-made tables: the identity permutation, and gradients chosen so the value has a closed form.
class HandMadeTables : public ::testing::Test {
 protected:
  using Variant = PerlinNoiseVariant;
  static void ClearTables() {
    for (int32_t i = 0; i < Variant::kTableLength; ++i) {
      Perm<Variant>[i] = i;
      GradX<Variant>[i] = GradY<Variant>[i] = GradZ<Variant>[i] = 0;
    }
  }
  void SetUp() override { ClearTables(); }
  void TearDown() override {
    SeedRandom(1);
    noise::InitNoiseTables<Variant>();
  }
  static double Fade(double f) { return 3 * f * f - 2 * f * f * f; }
};

// Every gradient (a, 0, 0) (or along y, or z): the noise is a * (f - fade(f)) for the offset f
// along that axis, whatever the other two coordinates are. This fixes the offsets, the cubic
// fade taken from f and the direction of the blending.
TEST_F(HandMadeTables, ConstantGradientAlongOneAxis) {
  constexpr double a = 0.4;
  const double offsets[] = {0.25, 0.5, 0.75, 0.9};
  const double cells[] = {0, 5, -1, 254, -256};
  for (int axis = 0; axis < 3; ++axis) {
    double* grad[] = {GradX<Variant>, GradY<Variant>, GradZ<Variant>};
    ClearTables();
    std::fill(grad[axis], grad[axis] + Variant::kTableLength, a);
    for (double cell : cells) {
      for (double f : offsets) {
        double p[3] = {0.6, 9.3, -2.45};
        p[axis] = cell + f;
        const double offset = p[axis] - cell;  // cell + f need not be exact
        EXPECT_NEAR(Noise3D<Variant>(p[0], p[1], p[2]), a * (offset - Fade(offset)), 1e-15)
            << "axis " << axis << " at " << p[axis];
      }
    }
  }
}

// Perm[5] = 299: at (0.25, 0.25, 5.25) only the corner (0, 0, 5) hashes through it, to the last
// gradient entry, so the gradient tables must hold all 300 entries.
TEST_F(HandMadeTables, HashReachesLastGradientEntry) {
  std::swap(Perm<Variant>[5], Perm<Variant>[299]);
  GradX<Variant>[299] = 0.4;
  const double weight = 1 - Fade(0.25);
  EXPECT_NEAR(Noise3D<Variant>(0.25, 0.25, 5.25), 0.25 * 0.4 * weight * weight * weight, 1e-15);
  // One cell along x the same entry is not reached.
  EXPECT_EQ(Noise3D<Variant>(1.25, 0.25, 5.25), 0.0);
}

TEST(SliceMatrix, StatedEntries) {
  const noise::SliceMatrix m = noise::BuildSliceMatrix();
  const double expected[] = {0.9432948, 0.1887824, -0.2730497, -0.1696003, 0.9811669,
                             0.0924517, 0.2853606, -0.0408999, 0.9575472};
  const double actual[] = {m.m11, m.m12, m.m13, m.m21, m.m22, m.m23, m.m31, m.m32, m.m33};
  for (int i = 0; i < 9; ++i)
    EXPECT_NEAR(actual[i], expected[i], 5e-8) << "entry " << i;
}

}  // namespace
