// iterated_maps: a console dialogue chooses one of eight two-dimensional iterated maps and its
// parameters; the window then shows the map's orbit, one pixel a step, until a key is waiting.
#pragma once

#include <cstdint>
#include <iosfwd>

namespace iterated_maps {

// What the dialogue settles. Values that were not read are 0.
struct MapChoice {
  uint8_t choice = 0;  // 1..8 pick a map; any other value leaves the point where it is
  double a = 0, b = 0, c = 0, d = 0;
  double x0 = 0, y0 = 0;  // the starting point of choice 7
};

// The orbit point; z is used by choice 5 only.
struct OrbitPoint {
  double x = 0, y = 0, z = 0;
};

// Writes the menu, reads the choice from one line and then, after a prompt each, one line per
// parameter the choice needs. A value that cannot be read (no number at the start of its line, a
// negative choice, a real beyond the range of a double, "nan", "inf", end of input) is left 0
// together with every value still to be read, and no further prompt is written. The choice keeps
// the low 8 bits of the number typed, however long.
MapChoice ReadChoice(std::istream& in, std::ostream& out);

// (x0, y0) for choice 7, the origin otherwise.
OrbitPoint StartingPoint(const MapChoice& map);

// One step of the chosen map. Each expression is formed in extended precision, left to right,
// and stored as a double; the arithmetic is unguarded, so the point may become infinite or NaN.
void Step(const MapChoice& map, OrbitPoint& point);

// The pixel of an orbit point on a canvas whose largest column and row are max_x and max_y: the
// origin sits at (max_x div 2, max_y div 2), one unit is one pixel, and coordinates keep their
// low 16 bits. False for a point that has no pixel (NaN, infinite, beyond the 64-bit range).
bool PixelOf(const OrbitPoint& point, int16_t max_x, int16_t max_y, int16_t& column, int16_t& row);

// The whole program: dialogue on standard input and output, then the window until a key waits.
// Returns the exit status: 1 with a message when the window cannot be opened.
int RunIteratedMaps();

}  // namespace iterated_maps
