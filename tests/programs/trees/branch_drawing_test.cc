// The branch drawing's geometry, recorded instead of drawn: bands, colours, division, the wind
// phase and the bound on the number of branches. A first branch numbered k = 0 is not turned
// (its angle is sin(0) * 0), which makes its lines exact.
#include "branch_drawing.h"

#include <gtest/gtest.h>
#include <lumivex/numeric.h>
#include <lumivex/random.h>

#include <cmath>
#include <tuple>
#include <vector>

namespace {

using Segment = std::tuple<Colour, int16_t, int16_t, int16_t, int16_t>;

struct Recorder {
  struct RecordedLine {
    Colour colour;
    double x1, y1, x2, y2;
  };
  struct RecordedBlossom {
    double x, y;
    int64_t last_radius;
  };
  std::vector<RecordedLine> lines;
  std::vector<RecordedBlossom> blossoms;

  void Line(Colour colour, double x1, double y1, double x2, double y2) {
    lines.push_back({colour, x1, y1, x2, y2});
  }
  void Blossom(double x, double y, int64_t last_radius) { blossoms.push_back({x, y, last_radius}); }

  // The lines as the line routine draws them, with their ends rounded to coordinates.
  std::vector<Segment> Segments() const {
    std::vector<Segment> segments;
    for (const RecordedLine& l : lines) {
      int16_t c1 = 0, r1 = 0, c2 = 0, r2 = 0;
      EXPECT_TRUE(NearestCoordinate(l.x1, c1) && NearestCoordinate(l.y1, r1) &&
                  NearestCoordinate(l.x2, c2) && NearestCoordinate(l.y2, r2));
      segments.emplace_back(l.colour, c1, r1, c2, r2);
    }
    return segments;
  }
};

struct Drawn {
  Recorder recorder;
  int32_t last_k = 0;
};

// One branch from (x1, y1) to (x2, y2) numbered first_k, with its sub-branches.
Drawn DrawFrom(int32_t first_k, int32_t depth, double x1, double y1, double x2, double y2,
               double wind_phase = 0.0) {
  Drawn drawn;
  trees::BranchDrawing<Recorder> drawing(drawn.recorder, wind_phase);
  drawing.branch_counter = first_k - 1;
  drawing.DrawBranch(depth, x1, y1, x2, y2);
  drawn.last_k = drawing.branch_counter;
  return drawn;
}

struct ShapeCase {
  const char* name;
  double x2, y2;  // the end; every branch starts at (100, 100)
  std::vector<Segment> segments;
  bool blossom;  // at the end, radii 0..3
};

TEST(BranchDrawing, BandsAndLinesFollowTheBranchLength) {
  const ShapeCase cases[] = {
      {"vertical band of length 16: three lines, offsets 0.6 as wide at the tip",
       100,
       84,
       {{6, 99, 100, 99, 84}, {6, 100, 100, 100, 84}, {6, 101, 100, 101, 84}},
       true},
      {"horizontal band: rows offset",
       120,
       100,
       {{6, 100, 99, 120, 99}, {6, 100, 100, 120, 100}, {6, 100, 101, 120, 101}},
       true},
      {"equal |du| and |dv|: columns offset, n = [28.28 / 16] = 2",
       120,
       120,
       {{6, 98, 100, 119, 120},
        {6, 99, 100, 119, 120},
        {6, 100, 100, 120, 120},
        {6, 101, 100, 121, 120},
        {6, 102, 100, 121, 120}},
       false},
      {"length 14.5: [14.5] = 14, colour 4 * 2 + 2", 114.5, 100, {{10, 100, 100, 114, 100}}, false},
      {"length 15: colour 2", 115, 100, {{2, 100, 100, 115, 100}}, false},
      {"length 13: colour 6", 100, 113, {{6, 100, 100, 100, 113}}, false},
  };
  for (const ShapeCase& c : cases) {
    SCOPED_TRACE(c.name);
    // Depth 8: the branch does not divide.
    const Drawn drawn = DrawFrom(0, 8, 100, 100, c.x2, c.y2);
    EXPECT_EQ(drawn.recorder.Segments(), c.segments);
    ASSERT_EQ(drawn.recorder.blossoms.size(), c.blossom ? 1u : 0u);
    if (c.blossom) {
      EXPECT_EQ(drawn.recorder.blossoms[0].x, c.x2);
      EXPECT_EQ(drawn.recorder.blossoms[0].y, c.y2);
      EXPECT_EQ(drawn.recorder.blossoms[0].last_radius, 3);
    }
  }
}

TEST(BranchDrawing, DividesLongBranchesAboveDepthEight) {
  struct Case {
    const char* name;
    int32_t first_k, depth;
    double length;
    int32_t last_k;
  } const cases[] = {
      {"length exactly 3 does not divide", 0, 0, 3.0, 0},
      {"even k: three sub-branches, too short to divide again", 0, 0, 3.5, 3},
      {"odd k: four sub-branches", 1, 0, 3.5, 5},
      {"depth 8 never divides", 0, 8, 1000.0, 0},
      {"depth 7: sub-branches at depth 8 stop", 0, 7, 1000.0, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SeedRandom(1);
    EXPECT_EQ(DrawFrom(c.first_k, c.depth, 100, 100, 100, 100 - c.length).last_k, c.last_k);
  }
}

TEST(BranchDrawing, SubBranchesScaleAndTurnTheTurnedDirection) {
  // Parent (k = 0, not turned) from (100, 100) up to (100, 96.5): du = 0, dv = -3.5.
  constexpr uint32_t kSeed = 7;
  SeedRandom(kSeed);
  const Drawn drawn = DrawFrom(0, 0, 100, 100, 100, 96.5);
  ASSERT_EQ(drawn.recorder.lines.size(), 4u);

  SeedRandom(kSeed);
  const double du = 0, dv = -3.5;
  for (size_t j = 0; j < 3; ++j) {
    const double r1 = RandomBelow(10), r2 = RandomBelow(10);
    const double s = (r1 / 10.0 - 0.5) * 0.3, t = r2 / 10.0 - 0.5;
    const double nx = s * du + 0.5 * du - t * dv, ny = t * du + 0.5 * dv + s * dv;
    const Recorder::RecordedLine& child = drawn.recorder.lines[1 + j];
    EXPECT_EQ(child.x1, 100);
    EXPECT_EQ(child.y1, 96.5);
    // Each child turns by its own tiny angle (k * 1e-5 radians at most).
    EXPECT_NEAR(child.x2, 100 + nx, 1e-3) << "child " << j;
    EXPECT_NEAR(child.y2, 96.5 + ny, 1e-3) << "child " << j;
  }
}

TEST(BranchDrawing, WindPhaseIsAddedToTheSineArgument) {
  // Branch k = 30000: sin(3000000 + phase) = +-1 turns it by +-0.3 radians; a positive angle
  // turns a branch pointing right downwards on the canvas.
  constexpr int32_t k = 30000;
  const Extended two_pi = 2 * kPiExtended;
  struct Case {
    Extended sine_argument;
    double expected_y2;
  } const cases[] = {
      {kPiExtended / 2, 100 + 15 * std::sin(0.3)},
      {-kPiExtended / 2, 100 - 15 * std::sin(0.3)},
  };
  for (const Case& c : cases) {
    const double phase = std::fmod(c.sine_argument - 100.0L * k, two_pi);
    const Drawn drawn = DrawFrom(k, 8, 100, 100, 115, 100, phase);
    ASSERT_EQ(drawn.recorder.lines.size(), 1u);
    EXPECT_NEAR(drawn.recorder.lines[0].x2, 100 + 15 * std::cos(0.3), 1e-9);
    EXPECT_NEAR(drawn.recorder.lines[0].y2, c.expected_y2, 1e-9);
  }
}

TEST(BranchDrawing, BranchCountStaysWithinTheBound) {
  // A trunk so long that every branch above depth 8 divides: three sub-branches for even k,
  // four for odd k, whatever the random draws.
  struct Counter {
    void Line(Colour, double, double, double, double) {}
    void Blossom(double, double, int64_t) {}
  } counter;
  trees::BranchDrawing<Counter> drawing(counter, 0.0);
  SeedRandom(3);
  drawing.DrawBranch(0, 0, 0, 0, -10000);
  EXPECT_EQ(drawing.branch_counter, 20377);
  EXPECT_LE(drawing.branch_counter, trees::kMaxBranches);
}

}  // namespace
