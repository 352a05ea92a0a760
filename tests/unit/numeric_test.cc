// The shared conversions of reals to integers, coordinates and colour components, and the
// random generator's contract.
#include <lumivex/numeric.h>
#include <lumivex/random.h>

#include <gtest/gtest.h>

#include <limits>
#include <set>

namespace {

TEST(NumericTest, NearestRoundsHalvesToEvenAndKeepsTheLowSixteenBits) {
  struct Case {
    Extended value;
    int16_t coordinate;
  };
  const Case cases[] = {
      {0.5L, 0},
      {1.5L, 2},
      {2.5L, 2},
      {-0.5L, 0},
      {-1.5L, -2},
      {2.4999L, 2},
      {319.5L, 320},
      {-2.6L, -3},
      {32767.0L, 32767},
      {32768.0L, -32768},
      {65536.0L + 7, 7},
      {-32769.0L, 32767},
      {1e15L + 3, static_cast<int16_t>(static_cast<uint16_t>((1000000000000000ll + 3) & 0xFFFF))},
  };
  for (const Case& c : cases) {
    int16_t out = 99;
    EXPECT_TRUE(NearestCoordinate(c.value, out)) << static_cast<double>(c.value);
    EXPECT_EQ(out, c.coordinate) << static_cast<double>(c.value);
  }
  uint16_t component = 0;
  EXPECT_TRUE(NearestComponent(-63.0L, component));
  EXPECT_EQ(component, 65473);
}

TEST(NumericTest, NonFiniteAndHugeValuesAreRefused) {
  const Extended refused[] = {std::numeric_limits<Extended>::quiet_NaN(),
                              std::numeric_limits<Extended>::infinity(),
                              -std::numeric_limits<Extended>::infinity(),
                              1e19L,
                              -1e300L,
                              9223372036854775808.0L};
  for (Extended v : refused) {
    int16_t coordinate = 5;
    int64_t integer = 5;
    EXPECT_FALSE(NearestCoordinate(v, coordinate));
    EXPECT_FALSE(NearestInteger(v, integer));
    EXPECT_FALSE(TruncatedInteger(v, integer));
    EXPECT_EQ(coordinate, 5);
  }
  int64_t n = 0;
  EXPECT_TRUE(TruncatedInteger(-5145.9L, n));
  EXPECT_EQ(n, -5145);
}

TEST(RandomTest, ASeedRestartsTheSameSequenceAndDrawsStayInRange) {
  SeedRandom(1234);
  std::vector<int32_t> first;
  for (int i = 0; i < 100; ++i)
    first.push_back(RandomBelow(1000000));
  SeedRandom(1234);
  for (int i = 0; i < 100; ++i)
    EXPECT_EQ(RandomBelow(1000000), first[i]);
  SeedRandom(1235);
  EXPECT_NE(RandomBelow(1000000), first[0]);

  std::set<int32_t> seen;
  for (int i = 0; i < 2000; ++i) {
    const int32_t r = RandomBelow(10);
    ASSERT_GE(r, 0);
    ASSERT_LT(r, 10);
    seen.insert(r);
  }
  EXPECT_EQ(seen.size(), 10u);
  EXPECT_EQ(RandomBelow(0), 0);
  EXPECT_EQ(RandomBelow(-3), 0);
  EXPECT_EQ(RandomBelow(1), 0);
}

TEST(RandomTest, TheSequenceIsFixedOnEveryBuild) {
  // The generator's algorithm is part of its contract: pictures made with fixed ticks must be
  // the same on every machine and compiler.
  SeedRandom(42);
  EXPECT_EQ(RandomBelow(1000), 413);
  EXPECT_EQ(RandomBelow(1000), 969);
  EXPECT_EQ(RandomBelow(1000), 3);
}

}  // namespace
