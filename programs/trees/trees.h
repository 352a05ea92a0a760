// The tree drawing on the canvas, shared by blossom_trees and windy_trees: the line routine, the
// blossoms, and a whole tree drawn with the branch drawing of branch_drawing.h.
#pragma once

#include <lumivex/lumivex.h>

#include <cstdint>

#include "branch_drawing.h"

namespace trees {

// The line routine: sets the pen colour, then draws from ([x1], [y1]) to ([x2], [y2]). A line
// with an end that has no coordinate (not finite, or beyond the 64-bit range) is not drawn.
void DrawTreeLine(Colour colour, double x1, double y1, double x2, double y2);

// The predefined pink, filled as circles of radius 0..last_radius around ([x], [y]).
void DrawBlossom(double x, double y, int64_t last_radius);

// Draws onto the draw page of the open canvas.
struct CanvasSink {
  void Line(Colour colour, double x1, double y1, double x2, double y2) {
    DrawTreeLine(colour, x1, y1, x2, y2);
  }
  void Blossom(double x, double y, int64_t last_radius) { DrawBlossom(x, y, last_radius); }
};

// Draws a tree on the canvas, from the trunk at its bottom centre, with the given wind phase
// (0 for a still tree). The random draws continue the generator's sequence. Returns the number
// of branches drawn.
int32_t DrawTree(double wind_phase);

}  // namespace trees
