// iterated_maps end to end: the console dialogue for every choice and for bad input, and the
// orbit drawn in the window, compared with points computed here from the maps' formulas.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <utility>

#include "support/program_runner.h"

namespace lumivex::testing {
namespace {

using Extended = long double;
using Pixel = std::pair<int32_t, int32_t>;  // column, row

constexpr const char* kMenu =
    "1.FRACTALUL HOPALONG \n2.FRACTALUL THREEPLY \n3.FRACTALUL HENON \n4.FRACTALUL MARTIN \n"
    "5.FRACTALUL PICKOVER \n6.FRACTALUL CHIP \n7.FRACTALUL GINGERBREADMAN \n";
constexpr uint32_t kWhite = 0xFCFCFC;  // the palette entry nearest to predefined white
constexpr int32_t kOrbitSteps = 400;

// The values the dialogue should have settled on.
struct Map {
  int choice = 0;
  double a = 0, b = 0, c = 0, d = 0, x0 = 0, y0 = 0;
};

struct Point {
  double x = 0, y = 0, z = 0;
};

Extended Sign(double v) {
  return v < 0 ? -1.0L : (v > 0 ? 1.0L : 0.0L);
}

// One step, written out from the table of maps: extended precision, left to right, stored.
Point Next(const Map& m, Point p) {
  const double xp = p.x;
  const Extended x = p.x, y = p.y, z = p.z, a = m.a, b = m.b, c = m.c, d = m.d, s = Sign(xp);
  auto sq = [](Extended v) { return v * v; };
  switch (m.choice) {
    case 1:
      return {double(y - s * sqrtl(fabsl(x * b - c))), double(a - xp), p.z};
    case 2:
      return {double(y - s * fabsl(sinl(x) * cosl(b) + c - x * sinl(a + b + c))), double(a - xp),
              p.z};
    case 3:
      return {double((y + 1) - x * a * x), double(xp * b), p.z};
    case 4:
      return {double(y - sinl(x)), double(a - xp), p.z};
    case 5:
      return {double(sinl(a * y) - z * cosl(b * x)), double(z * sinl(c * xp) - cosl(d * y)),
              double(sinl(Extended(xp)))};
    case 6:
      return {double(y - s * cosl(sq(logl(fabsl(x * b - c)))) * atanl(sq(logl(fabsl(x * c - b))))),
              double(a - xp), p.z};
    case 7:
      return {double((1 - y) + fabsl(x)), xp, p.z};
    case 8:
      return {double(y - s * sqrtl(fabsl(x + b) + c)), double(a - xp), p.z};
    default:
      return p;
  }
}

// The pixel of a point on the 800 x 600 canvas, if it has one there: [399 + x], [299 + y],
// halves to even, coordinates wrapping at 16 bits.
std::optional<Pixel> PixelOf(Point p) {
  int32_t at[2];
  const double values[2] = {p.x, p.y};
  const int32_t centre[2] = {399, 299};
  for (int i = 0; i < 2; ++i) {
    const Extended v = nearbyintl(centre[i] + Extended(values[i]));
    if (!(fabsl(v) < 9.2e18L)) return std::nullopt;
    at[i] = static_cast<int16_t>(static_cast<uint16_t>(static_cast<int64_t>(v)));
  }
  if (at[0] < 0 || at[0] > 799 || at[1] < 0 || at[1] > 599) return std::nullopt;
  return Pixel{at[0], at[1]};
}

// The pixels lit by the first `steps` steps.
std::set<Pixel> Orbit(const Map& m, int32_t steps) {
  Point p;
  if (m.choice == 7) p = {m.x0, m.y0, 0};
  std::set<Pixel> lit;
  for (int32_t i = 0; i < steps; ++i) {
    p = Next(m, p);
    if (auto pixel = PixelOf(p)) lit.insert(*pixel);
  }
  return lit;
}

// The non-black pixels of a shot; every one must be white.
std::set<Pixel> LitPixels(const std::string& path) {
  Picture picture;
  EXPECT_TRUE(ReadPng(path, &picture)) << path;
  EXPECT_EQ(picture.width, 800);
  EXPECT_EQ(picture.height, 600);
  std::set<Pixel> lit;
  for (int32_t y = 0; y < picture.height; ++y) {
    for (int32_t x = 0; x < picture.width; ++x) {
      if (picture.At(x, y) == 0) continue;
      EXPECT_EQ(picture.At(x, y), FromHex(kWhite)) << "at " << x << ", " << y;
      lit.insert({x, y});
    }
  }
  return lit;
}

struct Dialogue {
  const char* name;
  std::string input;    // standard input, closed after it
  std::string prompts;  // what follows the menu on standard output
  Map map;              // the values the dialogue settles on
};

constexpr const char* kA = "Parametrul a = ";
constexpr const char* kB = "Parametrul b = ";
constexpr const char* kC = "Parametrul c = ";
constexpr const char* kD = "Parametrul d = ";

std::string Cat(std::initializer_list<const char*> parts) {
  std::string text;
  for (const char* p : parts)
    text += p;
  return text;
}

const Dialogue kDialogues[] = {
    // Every map of the table.
    {"Hopalong", "1\n5\n1\n1\n", Cat({kA, kB, kC}), {1, 5, 1, 1}},
    {"Threeply", "2\n-3.5\n0.2\n1e1\n", Cat({kA, kB, kC}), {2, -3.5, 0.2, 10}},
    {"Henon", "3\n1.4\n0.3\n", Cat({kA, kB}), {3, 1.4, 0.3}},
    {"Martin", "4\n3.1\n", kA, {4, 3.1}},
    {"Pickover",
     "5\n2.24\n0.43\n-0.65\n-2.43\n",
     Cat({kA, kB, kC, kD}),
     {5, 2.24, 0.43, -0.65, -2.43}},
    {"Chip", "6\n-15\n-19\n1\n", Cat({kA, kB, kC}), {6, -15, -19, 1}},
    {"Gingerbreadman",
     "7\n-0.1\n0\n",
     "Parametrul x0 = Parametrul y0 = ",
     {7, 0, 0, 0, 0, -0.1, 0}},
    {"Eight", "8\n3\n2\n1\n", Cat({kA, kB, kC}), {8, 3, 2, 1}},
    {"ChoiceZero", "0\n", "", {0}},
    {"ChoiceNine", "9\n1\n", "", {9}},
    {"Choice255", "255\n", "", {255}},
    {"Choice257ActsAsOne", "257\n5\n1\n1\n", Cat({kA, kB, kC}), {1, 5, 1, 1}},
    {"RestOfLinesIgnored", "  +1 2 3\n 5x\n1.\n.5e1e\n", Cat({kA, kB, kC}), {1, 5, 1, 5}},
    // Arithmetic the maps leave unguarded: such points are not plotted and the orbit goes on.
    {"ChipLogarithmOfZero", "6\n1\n1\n0\n", Cat({kA, kB, kC}), {6, 1, 1, 0}},
    {"EightRootOfNegative", "8\n0\n0\n-1\n", Cat({kA, kB, kC}), {8, 0, 0, -1}},
    {"HenonGrowsWithoutBound", "3\n1e300\n1\n", Cat({kA, kB}), {3, 1e300, 1}},
    {"FarOrbitWraps", "4\n70000\n", kA, {4, 70000}},
    // Bad input: the value and those after it are 0, and the console falls silent.
    {"NegativeChoice", "-1\n5\n", "", {0}},
    {"LettersForChoice", "one\n", "", {0}},
    {"EmptyChoiceLine", "\n1\n5\n1\n1\n", "", {0}},
    {"EndOfInputAtChoice", "", "", {0}},
    {"LettersForParameter", "1\n5\nxyz\n3\n", Cat({kA, kB}), {1, 5}},
    {"EmptyParameterLine", "3\n\n0.3\n", kA, {3}},
    {"EndOfInputInParameters", "5\n1\n", Cat({kA, kB}), {5, 1}},
    {"EndOfInputWithoutLineBreak", "8\n2\n3", Cat({kA, kB, kC}), {8, 2, 3}},
    {"TooLargeForADouble", "3\n1e400\n0.3\n", kA, {3}},
    {"NotANumber", "4\nnan\n", kA, {4}},
    {"Infinity", "2\n1\n-inf\n", Cat({kA, kB}), {2, 1}},
};

void PrintTo(const Dialogue& dialogue, std::ostream* out) {
  *out << dialogue.name;
}

class DialogueTest : public ::testing::TestWithParam<Dialogue> {};

TEST_P(DialogueTest, WritesThePromptsAndDrawsTheOrbit) {
  const Dialogue& dialogue = GetParam();
  const std::string dir = TestDirectory();
  RunOptions options;
  options.input = dialogue.input;
  options.script = "wait polls 1\nshot " + dir + "/first.png\nwait polls " +
                   std::to_string(kOrbitSteps) + "\nshot " + dir + "/orbit.png\nkey Escape\n";
  const RunResult run = RunProgram("iterated_maps", options);
  ASSERT_FALSE(run.timed_out);
  EXPECT_EQ(run.exit_code, 0) << run.errors;
  EXPECT_EQ(run.errors, "");
  EXPECT_EQ(run.output, kMenu + dialogue.prompts);
  EXPECT_EQ(LitPixels(dir + "/first.png"), Orbit(dialogue.map, 1));
  EXPECT_EQ(LitPixels(dir + "/orbit.png"), Orbit(dialogue.map, kOrbitSteps));
}

INSTANTIATE_TEST_SUITE_P(Choices, DialogueTest, ::testing::ValuesIn(kDialogues),
                         [](const auto& info) { return std::string(info.param.name); });

// Points stated outright, independent of the formulas above.
TEST(IteratedMapsTest, FirstPointsAndTheHenonAttractor) {
  struct Case {
    std::string input;
    int32_t polls;
    std::set<Pixel> first;  // exactly the lit pixels after the first step
  };
  const Case cases[] = {
      {"7\n0\n0\n", 1, {{400, 299}}},      // gingerbreadman from (0, 0) to (1, 0)
      {"1\n5\n1\n1\n", 1, {{399, 304}}},   // hopalong from (0, 0) to (0, a)
      {"2\n-7\n1\n1\n", 1, {{399, 292}}},  // threeply likewise
      {"12\n", 1, {{399, 299}}},           // a choice without a map stays at the origin
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.input);
    const std::string dir = TestDirectory();
    RunOptions options;
    options.input = c.input;
    options.script = "wait polls 1\nshot " + dir + "/first.png\nkey Escape\n";
    const RunResult run = RunProgram("iterated_maps", options);
    ASSERT_FALSE(run.timed_out);
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_EQ(LitPixels(dir + "/first.png"), c.first);
  }

  // Henon with a = 1.4, b = 0.3: the attractor spans about 2.6 x 0.8 units, so it lights
  // columns 398 to 400 of the centre row and nothing else.
  const std::string dir = TestDirectory();
  RunOptions options;
  options.input = "3\n1.4\n0.3\n";
  options.script = "wait polls 20000\nshot " + dir + "/henon.png\nkey Escape\n";
  const RunResult run = RunProgram("iterated_maps", options);
  ASSERT_FALSE(run.timed_out);
  const std::set<Pixel> lit = LitPixels(dir + "/henon.png");
  EXPECT_EQ(lit.size(), 3u);
  for (const auto& [x, y] : lit) {
    EXPECT_LE(std::abs(x - 399), 2) << x << ", " << y;
    EXPECT_LE(std::abs(y - 299), 1) << x << ", " << y;
  }
}

TEST(IteratedMapsTest, EndsWithAMessageWhenTheWindowCannotOpen) {
  ExpectEndsWhenTheWindowCannotOpen("iterated_maps", "1\n5\n1\n1\n");
}

}  // namespace
}  // namespace lumivex::testing
