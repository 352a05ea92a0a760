#include "trees.h"

#include <lumivex/numeric.h>

namespace trees {

namespace {

constexpr int kBlossomColourNumber = 131;

}  // namespace

void DrawTreeLine(Colour colour, double x1, double y1, double x2, double y2) {
  SetPenColour(colour);
  int16_t column1 = 0, row1 = 0, column2 = 0, row2 = 0;
  if (NearestCoordinate(x1, column1) && NearestCoordinate(y1, row1) &&
      NearestCoordinate(x2, column2) && NearestCoordinate(y2, row2)) {
    DrawLine(column1, row1, column2, row2);
  }
}

void DrawBlossom(double x, double y, int64_t last_radius) {
  SetPenColour(PredefinedColours[kBlossomColourNumber]);
  int16_t column = 0, row = 0;
  if (!NearestCoordinate(x, column) || !NearestCoordinate(y, row)) return;
  for (int64_t radius = 0; radius <= last_radius && radius <= UINT16_MAX; ++radius) {
    DrawCircle(column, row, static_cast<uint16_t>(radius));
  }
}

int32_t DrawTree(double wind_phase) {
  CanvasSink sink;
  BranchDrawing<CanvasSink> drawing(sink, wind_phase);
  drawing.DrawTree(MaxX(), MaxY());
  return drawing.branch_counter;
}

}  // namespace trees
