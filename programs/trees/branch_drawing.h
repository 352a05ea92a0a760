// The recursive branch drawing of the blossoming trees, shared by blossom_trees and windy_trees.
//
// A tree is a trunk that divides into three or four randomly scaled and turned sub-branches, down
// to depth 8. Every branch is first turned by a small angle that grows with its number k; the
// wind phase, 0 for a still tree, is added to the angle's sine argument. Thin branches become one
// line, thick ones a band of parallel lines, and some tips carry a blossom.
//
// The recursion is a template over where its output goes: the canvas (trees.h) in the programs,
// a plain array in the benchmark floor and a recorder in the tests, so all of them run the very
// same arithmetic and the same random draws. A Sink provides
//   void Line(Colour colour, double x1, double y1, double x2, double y2);
//   void Blossom(double x, double y, int64_t last_radius);  // circles of radius 0..last_radius
// Expressions are formed in Extended and every named value is stored as a double.
#pragma once

#include <lumivex/lumivex.h>
#include <lumivex/numeric.h>
#include <lumivex/random.h>

#include <cmath>
#include <cstdint>

namespace trees {

inline constexpr Extended kAngleFactor = 0.00001L;
inline constexpr double kThickBranch = 16.0;  // branches at least this long are drawn as bands
inline constexpr double kBandTaper = 0.6;     // band offsets at the tip, relative to the base
inline constexpr double kMinDividingLength = 3.0;
inline constexpr int32_t kMaxDepth = 8;
inline constexpr double kBlossomModulus = 4.0;
inline constexpr double kBlossomThreshold = 0.1;
inline constexpr double kBlossomRadiusBase = 3.0;
inline constexpr Colour kBandColour = 6;

// 1 + 4 + 4^2 + ... + 4^8: no tree has more branches than this.
inline constexpr int32_t kMaxBranches = 87381;

template <typename Sink>
class BranchDrawing {
 public:
  BranchDrawing(Sink& sink, double wind_phase) : sink_(sink), wind_phase_(wind_phase) {}

  // Draws a whole tree: the branch counter starts again at 0 and the trunk, of length
  // 0.2 * max_x, grows upwards from below the bottom centre of a max_x by max_y canvas.
  void DrawTree(int16_t max_x, int16_t max_y) {
    branch_counter = 0;
    const double x = static_cast<Extended>(max_x) / 2.0L;
    const double bottom = static_cast<Extended>(max_y) + static_cast<Extended>(0.1) * max_x;
    const double top = static_cast<Extended>(max_y) - static_cast<Extended>(0.1) * max_x;
    DrawBranch(0, x, bottom, x, top);
  }

  void DrawBranch(int32_t depth, double x1, double y1, double x2, double y2) {
    ++branch_counter;
    const int32_t k = branch_counter;
    // 100 * k is a 32-bit product; it wraps instead of overflowing, though no tree comes near.
    const int32_t hundred_k = static_cast<int32_t>(static_cast<uint32_t>(k) * 100u);
    const double angle =
        std::sin(static_cast<Extended>(hundred_k) + wind_phase_) * k * kAngleFactor;

    const double u = static_cast<Extended>(x2) - x1;
    const double v = static_cast<Extended>(y2) - y1;
    const Extended cos_a = std::cos(static_cast<Extended>(angle));
    const Extended sin_a = std::sin(static_cast<Extended>(angle));
    const double du = cos_a * u - sin_a * v;
    const double dv = cos_a * v + sin_a * u;
    x2 = static_cast<Extended>(x1) + du;
    y2 = static_cast<Extended>(y1) + dv;
    const double len = std::sqrt(static_cast<Extended>(du) * du + static_cast<Extended>(dv) * dv);

    if (len < kThickBranch) {
      int64_t rounded = 0;
      if (NearestInteger(len, rounded)) {
        sink_.Line(static_cast<Colour>(4 * (rounded % 3) + 2), x1, y1, x2, y2);
      }
    } else {
      DrawBand(len, du, dv, x1, y1, x2, y2);
    }

    if (len > kMinDividingLength && depth < kMaxDepth) {
      // The number of sub-branches comes from this branch's own k, before they count on.
      const int32_t last = k % 2 + 2;
      for (int32_t j = 0; j <= last; ++j) {
        const int32_t r1 = RandomBelow(10);
        const int32_t r2 = RandomBelow(10);
        const double s = (static_cast<Extended>(r1) / 10.0L - 0.5L) * static_cast<Extended>(0.3);
        const double t = static_cast<Extended>(r2) / 10.0L - 0.5L;
        const double nx = static_cast<Extended>(s) * du + 0.5L * du - static_cast<Extended>(t) * dv;
        const double ny = static_cast<Extended>(t) * du + 0.5L * dv + static_cast<Extended>(s) * dv;
        DrawBranch(depth + 1, x2, y2, static_cast<Extended>(x2) + nx,
                   static_cast<Extended>(y2) + ny);
      }
    } else {
      const double w =
          len - std::trunc(static_cast<Extended>(len) / kBlossomModulus) * kBlossomModulus;
      int64_t last_radius = 0;
      if (w < kBlossomThreshold &&
          NearestInteger(static_cast<Extended>(w) + kBlossomRadiusBase, last_radius)) {
        sink_.Blossom(x2, y2, last_radius);
      }
    }
  }

  // k: the number of the branch drawn last; 0 before a tree's trunk.
  int32_t branch_counter = 0;

 private:
  // 2n + 1 parallel lines, n = [len / 16], offset across the branch: vertically for a branch
  // closer to horizontal, horizontally otherwise (ties included); the offsets shrink to 0.6 of
  // themselves at the tip.
  void DrawBand(double len, double du, double dv, double x1, double y1, double x2, double y2) {
    int64_t n = 0;
    if (!NearestInteger(static_cast<Extended>(len) / kThickBranch, n)) return;
    const bool across_rows = std::fabs(du) > std::fabs(dv);
    for (int64_t i = -n; i <= n; ++i) {
      const Extended offset = static_cast<Extended>(i);
      const Extended end_offset = static_cast<Extended>(kBandTaper) * offset;
      if (across_rows) {
        sink_.Line(kBandColour, x1, y1 + offset, x2, y2 + end_offset);
      } else {
        sink_.Line(kBandColour, x1 + offset, y1, x2 + end_offset, y2);
      }
    }
  }

  Sink& sink_;
  double wind_phase_;
};

}  // namespace trees
