// The dialogue, the eight maps and the plotting loop of iterated_maps.
#include "iterated_maps.h"

#include <lumivex/lumivex.h>
#include <lumivex/numeric.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <iterator>
#include <string>

namespace iterated_maps {

namespace {

constexpr const char* kMenu[] = {
    "1.FRACTALUL HOPALONG ",       "2.FRACTALUL THREEPLY ", "3.FRACTALUL HENON ",
    "4.FRACTALUL MARTIN ",         "5.FRACTALUL PICKOVER ", "6.FRACTALUL CHIP ",
    "7.FRACTALUL GINGERBREADMAN ",
};

struct Prompt {
  const char* text;
  double MapChoice::*value;
};

constexpr Prompt kA{"Parametrul a = ", &MapChoice::a};
constexpr Prompt kB{"Parametrul b = ", &MapChoice::b};
constexpr Prompt kC{"Parametrul c = ", &MapChoice::c};
constexpr Prompt kD{"Parametrul d = ", &MapChoice::d};
constexpr Prompt kX0{"Parametrul x0 = ", &MapChoice::x0};
constexpr Prompt kY0{"Parametrul y0 = ", &MapChoice::y0};

struct PromptList {
  int count;
  Prompt prompts[4];
};

// Indexed by the choice 0..8; choices above 8 ask for nothing.
constexpr PromptList kPrompts[] = {
    {0, {}},           {3, {kA, kB, kC}}, {3, {kA, kB, kC}},
    {2, {kA, kB}},     {1, {kA}},         {4, {kA, kB, kC, kD}},
    {3, {kA, kB, kC}}, {2, {kX0, kY0}},   {3, {kA, kB, kC}},
};

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

size_t SkipDigits(const std::string& text, size_t at) {
  while (at < text.size() && IsDigit(text[at]))
    ++at;
  return at;
}

// An unsigned decimal number at the start of the line (after blanks, with an optional '+'),
// reduced to its low 8 bits as it is read, so any length is fine.
bool TakeChoice(const std::string& line, uint8_t& choice) {
  size_t at = 0;
  while (at < line.size() && IsBlank(line[at]))
    ++at;
  if (at < line.size() && line[at] == '+') ++at;
  if (at == line.size() || !IsDigit(line[at])) return false;
  uint32_t low_bits = 0;
  for (; at < line.size() && IsDigit(line[at]); ++at) {
    low_bits = (low_bits * 10 + static_cast<uint32_t>(line[at] - '0')) & 0xFF;
  }
  choice = static_cast<uint8_t>(low_bits);
  return true;
}

// A decimal real at the start of the line: blanks, an optional sign, digits with an optional
// point (at least one digit), an optional exponent. Words such as "nan" and "inf" are not
// numbers, and a value too large for a double cannot be read; one too small becomes 0 or a
// subnormal.
bool TakeReal(const std::string& line, double& value) {
  size_t at = 0;
  while (at < line.size() && IsBlank(line[at]))
    ++at;
  const size_t start = at;
  if (at < line.size() && (line[at] == '+' || line[at] == '-')) ++at;
  const size_t whole = at;
  at = SkipDigits(line, at);
  bool digits = at > whole;
  if (at < line.size() && line[at] == '.') {
    const size_t fraction = at + 1;
    at = SkipDigits(line, fraction);
    digits = digits || at > fraction;
  }
  if (!digits) return false;
  if (at < line.size() && (line[at] == 'e' || line[at] == 'E')) {
    size_t exponent = at + 1;
    if (exponent < line.size() && (line[exponent] == '+' || line[exponent] == '-')) ++exponent;
    const size_t exponent_end = SkipDigits(line, exponent);
    if (exponent_end > exponent) at = exponent_end;
  }
  const std::string number = line.substr(start, at - start);
  const double parsed = std::strtod(number.c_str(), nullptr);
  if (!std::isfinite(parsed)) return false;
  value = parsed;
  return true;
}

Extended Sign(double v) {
  return v < 0 ? -1.0L : (v > 0 ? 1.0L : 0.0L);
}

Extended Square(Extended v) {
  return v * v;
}

}  // namespace

MapChoice ReadChoice(std::istream& in, std::ostream& out) {
  for (const char* line : kMenu)
    out << line << '\n';
  out.flush();
  MapChoice map;
  std::string line;
  if (!std::getline(in, line) || !TakeChoice(line, map.choice)) return map;
  if (map.choice >= std::size(kPrompts)) return map;
  const PromptList& list = kPrompts[map.choice];
  for (int i = 0; i < list.count; ++i) {
    out << list.prompts[i].text << std::flush;
    double value = 0;
    // From the first value that cannot be read on, the console stays silent.
    if (!std::getline(in, line) || !TakeReal(line, value)) return map;
    map.*list.prompts[i].value = value;
  }
  return map;
}

OrbitPoint StartingPoint(const MapChoice& map) {
  OrbitPoint point;
  if (map.choice == 7) {
    point.x = map.x0;
    point.y = map.y0;
  }
  return point;
}

void Step(const MapChoice& map, OrbitPoint& point) {
  const double xp = point.x;  // x as it was at the start of the step
  const Extended x = point.x, y = point.y, z = point.z;
  const Extended a = map.a, b = map.b, c = map.c, d = map.d;
  const Extended s = Sign(xp);
  switch (map.choice) {
    case 1:  // hopalong
      point.x = static_cast<double>(y - s * std::sqrt(std::fabs(x * b - c)));
      point.y = static_cast<double>(a - xp);
      break;
    case 2:  // threeply
      point.x = static_cast<double>(
          y - s * std::fabs(std::sin(x) * std::cos(b) + c - x * std::sin(a + b + c)));
      point.y = static_cast<double>(a - xp);
      break;
    case 3:  // Henon
      point.x = static_cast<double>((y + 1) - x * a * x);
      point.y = static_cast<double>(xp * b);
      break;
    case 4:  // Martin
      point.x = static_cast<double>(y - std::sin(x));
      point.y = static_cast<double>(a - xp);
      break;
    case 5:  // Pickover: y and z follow from xp and the previous y and z
      point.x = static_cast<double>(std::sin(a * y) - z * std::cos(b * x));
      point.y = static_cast<double>(z * std::sin(c * xp) - std::cos(d * y));
      point.z = static_cast<double>(std::sin(static_cast<Extended>(xp)));
      break;
    case 6:  // chip
      point.x = static_cast<double>(y - s * std::cos(Square(std::log(std::fabs(x * b - c)))) *
                                            std::atan(Square(std::log(std::fabs(x * c - b)))));
      point.y = static_cast<double>(a - xp);
      break;
    case 7:  // gingerbreadman
      point.x = static_cast<double>((1 - y) + std::fabs(x));
      point.y = xp;
      break;
    case 8:
      point.x = static_cast<double>(y - s * std::sqrt(std::fabs(x + b) + c));
      point.y = static_cast<double>(a - xp);
      break;
    default:
      break;
  }
}

bool PixelOf(const OrbitPoint& point, int16_t max_x, int16_t max_y, int16_t& column, int16_t& row) {
  const Extended centre_x = max_x / 2, centre_y = max_y / 2;
  return NearestCoordinate(centre_x + point.x, column) &&
         NearestCoordinate(centre_y + point.y, row);
}

int RunIteratedMaps() {
  const MapChoice map = ReadChoice(std::cin, std::cout);
  int16_t driver = 3, mode = 6;
  OpenCanvas(driver, mode, "FRACTALI ITERATIVI");
  if (!CanvasIsOpen()) {
    // No key could ever arrive to end the orbit.
    std::fprintf(stderr, "iterated_maps: the window could not be opened\n");
    return 1;
  }
  const Colour white = PredefinedColours[250];
  const int16_t max_x = MaxX(), max_y = MaxY();
  OrbitPoint point = StartingPoint(map);
  do {
    Step(map, point);
    int16_t column = 0, row = 0;
    if (PixelOf(point, max_x, max_y, column, row)) PlotPixel(column, row, white);
  } while (!KeyWaiting());
  CloseCanvas();
  return 0;
}

}  // namespace iterated_maps
