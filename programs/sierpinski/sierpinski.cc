#include "sierpinski.h"

#include <lumivex/lumivex.h>
#include <lumivex/numeric.h>

int32_t triangles_drawn = 0;

namespace {

constexpr int kWhiteNumber = 250;
constexpr double kSmallestDivided = 10.0;
constexpr uint16_t kPauseMilliseconds = 10;

}  // namespace

void DrawTriangle(double x, double y, double w, double h) {
  ++triangles_drawn;
  SetPenColour(PredefinedColours[kWhiteNumber]);
  const Extended half_width = static_cast<Extended>(w) / 2;
  const Extended base = static_cast<Extended>(y) + h;
  int16_t apex_x = 0, apex_y = 0, right_x = 0, left_x = 0, base_y = 0;
  if (NearestCoordinate(x, apex_x) && NearestCoordinate(y, apex_y) &&
      NearestCoordinate(x + half_width, right_x) && NearestCoordinate(x - half_width, left_x) &&
      NearestCoordinate(base, base_y)) {
    MovePen(apex_x, apex_y);
    DrawLineTo(right_x, base_y);
    DrawLineTo(left_x, base_y);
    DrawLineTo(apex_x, apex_y);
  }

  if (w >= kSmallestDivided && h >= kSmallestDivided) {
    const double sub_w = static_cast<Extended>(w) / 2;
    const double sub_h = static_cast<Extended>(h) / 2;
    const double sub_y = static_cast<Extended>(y) + sub_h;
    DrawTriangle(x, y, sub_w, sub_h);
    DrawTriangle(static_cast<Extended>(x) + static_cast<Extended>(sub_w) / 2, sub_y, sub_w, sub_h);
    DrawTriangle(static_cast<Extended>(x) - static_cast<Extended>(sub_w) / 2, sub_y, sub_w, sub_h);
  }
  Pause(kPauseMilliseconds);
}

void DrawSierpinski() {
  const double size = static_cast<Extended>(MaxX()) / 2;
  DrawTriangle(size, static_cast<Extended>(MaxY()) * 0.25L, size, size);
}
