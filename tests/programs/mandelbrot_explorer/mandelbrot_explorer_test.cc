// mandelbrot_explorer end to end: the program runs headless with a script, and its shots are
// compared with pictures worked out here from the escape-time rule, the view formulas and the
// zoom square's inversions.
#include <gtest/gtest.h>
#include <lumivex/lumivex.h>
#include <lumivex/numeric.h>

#include <array>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "support/program_runner.h"

namespace lumivex::testing {
namespace {

constexpr int32_t kWidth = 800;
constexpr int32_t kHeight = 600;
constexpr int32_t kMaxX = kWidth - 1;
constexpr int32_t kMaxY = kHeight - 1;
// KeyWaiting is asked after every pixel but the last of a row, and after every row but the last.
constexpr int64_t kPollsPerRedraw = int64_t{kMaxX} * kMaxY - 1;

// The default palette as the shots hold it (red in the low byte).
const std::array<uint32_t, 256>& PaletteRgb() {
  static const std::array<uint32_t, 256> rgb = [] {
    PaletteRecord record{};
    GetDefaultPalette(record);
    std::array<uint32_t, 256> table{};
    for (int i = 0; i < 256; ++i) {
      const PaletteEntry& e = record.entries[i];
      table[i] = e.red | (uint32_t{e.green} << 8) | (uint32_t{e.blue} << 16);
    }
    return table;
  }();
  return rgb;
}

// What ReadPixel gives for a pixel of entry i: the first entry of the same colour.
uint8_t ReadBack(uint8_t i) {
  uint8_t first = 0;
  while (PaletteRgb()[first] != PaletteRgb()[i])
    ++first;
  return first;
}

struct View {
  double x_min, y_min, width, height;
};

View StartingView() {
  return {-2.0 * (Extended{kMaxX} / kMaxY), -2.0, 4.0, 4.0};
}

double Step(double span) {
  return Extended{span} / kMaxY;
}

struct Square {
  int32_t x, y, size;
};

constexpr Square kStartingSquare{199, 199, 99};

// The colour of c: the orbit starts at c; a step is counted, then the loop stops when the squared
// modulus before the step exceeds 4 or the count exceeds the limit; colour n mod (limit + 1).
uint8_t ColourOf(double cx, double cy, int32_t limit) {
  double zx = cx, zy = cy;
  int32_t n = 0;
  for (;;) {
    const double zx2 = Extended{zx} * zx;
    const double zy2 = Extended{zy} * zy;
    const double new_zx = Extended{zx2} + cx - zy2;
    const double new_zy = Extended{zx} * 2.0 * zy + cy;
    zx = new_zx;
    zy = new_zy;
    ++n;
    if (Extended{zx2} + zy2 > 4.0 || n > limit) break;
  }
  return static_cast<uint8_t>(n % (limit + 1) % 256);
}

// The canvas as palette entries; a fresh canvas is black (entry 0).
class Canvas {
 public:
  uint8_t& At(int32_t x, int32_t y) { return pixels_[static_cast<size_t>(y) * kWidth + x]; }
  uint8_t At(int32_t x, int32_t y) const { return pixels_[static_cast<size_t>(y) * kWidth + x]; }

  // A redraw of columns 0..kMaxX - 1 and rows 0..kMaxY - 1, stopping after `pixels` pixels.
  void Redraw(const View& view, int32_t limit, int64_t pixels = INT64_MAX) {
    const double dx = Step(view.width), dy = Step(view.height);
    double cy = view.y_min;
    for (int32_t row = 0; row < kMaxY; ++row) {
      double cx = view.x_min;
      for (int32_t column = 0; column < kMaxX; ++column) {
        if (pixels-- <= 0) return;
        At(column, row) = ColourOf(cx, cy, limit);
        cx = Extended{cx} + dx;
      }
      cy = Extended{cy} + dy;
    }
  }

  // The canvas with the square shown: its outline then its centre, each pixel inverted as read
  // back, exclusive-or 15 (the corners twice).
  Canvas WithSquare(const Square& s) const {
    Canvas shown = *this;
    auto invert = [&](int32_t x, int32_t y) { shown.At(x, y) = ReadBack(shown.At(x, y)) ^ 15; };
    const int32_t x2 = s.x + s.size, y2 = s.y + s.size;
    for (int32_t i = s.x; i <= x2; ++i) {
      invert(i, s.y);
      invert(i, y2);
    }
    for (int32_t j = s.y; j <= y2; ++j) {
      invert(s.x, j);
      invert(x2, j);
    }
    invert(s.x + (x2 - s.x) / 2, s.y + (y2 - s.y) / 2);
    return shown;
  }

 private:
  std::vector<uint8_t> pixels_ = std::vector<uint8_t>(static_cast<size_t>(kWidth) * kHeight, 0);
};

Picture Shot(const std::string& name) {
  Picture picture;
  EXPECT_TRUE(ReadPng(TestDirectory() + "/" + name, &picture)) << name;
  return picture;
}

// Every pixel of the shot against the expected canvas; lists the first few that differ.
::testing::AssertionResult Shows(const Picture& shot, const Canvas& expected) {
  if (shot.width != kWidth || shot.height != kHeight) {
    return ::testing::AssertionFailure() << "shot is " << shot.width << " x " << shot.height;
  }
  int64_t wrong = 0;
  std::string first;
  for (int32_t y = 0; y < kHeight; ++y) {
    for (int32_t x = 0; x < kWidth; ++x) {
      if (shot.At(x, y) == PaletteRgb()[expected.At(x, y)]) continue;
      if (++wrong <= 5) {
        first += " (" + std::to_string(x) + ", " + std::to_string(y) + ") expected entry " +
                 std::to_string(expected.At(x, y));
      }
    }
  }
  if (wrong == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << wrong << " pixels differ, first:" << first;
}

// Runs the program with a script whose shots land in the test's directory; it must end by itself.
void RunExplorer(const std::string& script) {
  RunOptions options;
  options.script = script;
  options.time_limit = std::chrono::seconds(120);
  const RunResult result = RunProgram("mandelbrot_explorer", options);
  EXPECT_FALSE(result.timed_out);
  EXPECT_EQ(result.exit_code, 0) << result.errors;
}

// Types a character `count` times, in batches the 31-code key queue can hold.
std::string Typed(char character, int count) {
  std::string lines;
  while (count > 0) {
    const int batch = count < 30 ? count : 30;
    lines += "text " + std::string(static_cast<size_t>(batch), character) + "\nwait idle\n";
    count -= batch;
  }
  return lines;
}

TEST(MandelbrotExplorerTest, StartsWithTheWholeSetAndTheSquare) {
  RunExplorer("wait idle\nshot start.png\nkey Escape\n");
  Canvas picture;
  picture.Redraw(StartingView(), 256);
  const Picture shot = Shot("start.png");
  EXPECT_TRUE(Shows(shot, picture.WithSquare(kStartingSquare)));

  // Points known to lie in or out of the set; the view puts c = 0 near (400, 300).
  struct Point {
    int32_t x, y;
    uint8_t entry;
    const char* why;
  };
  const Point points[] = {
      {0, 0, 1, "c = (-2.67, -2) escapes at the first step, counted from c itself"},
      {0, 300, 1, "c = (-2.67, 0) escapes at the first step"},
      {798, 300, 1, "c = (2.66, 0) escapes at the first step"},
      {400, 300, 0, "c near 0 lies in the main cardioid"},
      {250, 300, 0, "c near -1 lies in the period-2 bulb"},
      {799, 300, 0, "the last column is never drawn"},
      {400, 599, 0, "the last row is never drawn"},
  };
  for (const Point& p : points) {
    EXPECT_EQ(shot.At(p.x, p.y), PaletteRgb()[p.entry]) << p.why;
  }
  // The whole set fits: no point of the drawn border lies in it.
  for (int32_t x = 0; x < kMaxX; ++x) {
    EXPECT_NE(shot.At(x, 0), 0u) << x;
    EXPECT_NE(shot.At(x, kMaxY - 1), 0u) << x;
  }
  for (int32_t y = 0; y < kMaxY; ++y) {
    EXPECT_NE(shot.At(0, y), 0u) << y;
    EXPECT_NE(shot.At(kMaxX - 1, y), 0u) << y;
  }
  // The square spans columns and rows 199..298: its corners keep their colour, the rest of the
  // outline and the dot at (248, 248) are inverted.
  using Pixels = std::initializer_list<std::pair<int32_t, int32_t>>;
  for (const auto& [x, y] : Pixels{{199, 199}, {298, 199}, {199, 298}, {298, 298}}) {
    EXPECT_EQ(shot.At(x, y), PaletteRgb()[picture.At(x, y)]) << "corner " << x << ", " << y;
  }
  for (const auto& [x, y] : Pixels{{248, 248}, {200, 199}, {297, 298}, {199, 200}, {298, 297}}) {
    EXPECT_EQ(shot.At(x, y), PaletteRgb()[ReadBack(picture.At(x, y)) ^ 15]) << x << ", " << y;
  }
  EXPECT_EQ(shot.At(248, 247), PaletteRgb()[picture.At(248, 247)]);
}

TEST(MandelbrotExplorerTest, KeysMoveAndResizeTheSquareWithinItsLimits) {
  struct Case {
    std::string keys;
    Square square;  // after the keys
  };
  const Case cases[] = {
      {"key *\n", {198, 198, 101}},
      {"key /\n", {199, 199, 99}},
      {"key +\n", {199, 199, 100}},
      {"key -\n", {199, 199, 99}},
      {"key Up\nkey h\nkey H\n", {199, 196, 99}},
      {"key Down\nkey p\n", {199, 198, 99}},
      {"key P\nkey Left\nkey k\n", {197, 199, 99}},
      {"key K\nkey Right\nkey m\nkey M\n", {199, 199, 99}},
      // Codes the table does not list: Ctrl+Up (0, 141), Alt+Up (0, 152), the close button.
      {"key Ctrl+Up\nkey Alt+Up\nclose\nkey q\n", {199, 199, 99}},
      {Typed('-', 98), {199, 199, 1}},
      // S = 0 goes back to 1, so "+" then makes 2.
      {"key -\n", {199, 199, 1}},
      {"key +\n", {199, 199, 2}},
      // The right side stops at column MaxX - 1, the bottom at row MaxY - 1.
      {Typed('m', 620), {796, 199, 2}},
      {Typed('p', 420), {796, 596, 2}},
      {Typed('k', 820), {0, 596, 2}},
      {Typed('h', 620), {0, 0, 2}},
      {"key *\n", {0, 0, 4}},
      {Typed('+', 620), {0, 0, 598}},
      {"key *\n", {0, 0, 598}},
      {"key /\n", {1, 1, 596}},
  };
  std::string script = "wait idle\n";
  for (size_t i = 0; i < std::size(cases); ++i) {
    script += cases[i].keys + "wait idle\nshot " + std::to_string(i) + ".png\n";
  }
  RunExplorer(script + "key Escape\n");

  Canvas picture;
  picture.Redraw(StartingView(), 256);
  // The starting square's right side covers (298, 252), a pixel of entry 240, which inverts
  // into a black entry; once the square has moved on, the pixel must show entry 240 again.
  ASSERT_EQ(picture.At(298, 252), 240);
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE("after case " + std::to_string(i) + ":\n" + cases[i].keys);
    const Picture shot = Shot(std::to_string(i) + ".png");
    EXPECT_TRUE(Shows(shot, picture.WithSquare(cases[i].square)));
    if (i == 0) {
      EXPECT_EQ(shot.At(298, 252), PaletteRgb()[240]);
    }
  }
}

// The program's state, followed here by the formulas of the view keys.
struct State {
  View view = StartingView();
  int32_t limit = 256;
  Square square = kStartingSquare;
};

TEST(MandelbrotExplorerTest, ViewKeysRedrawAndLimitKeysWaitForTheNextRedraw) {
  using Change = std::function<void(State&)>;
  struct Case {
    std::string keys;
    Change change;
    bool redraws;
  };
  const Case cases[] = {
      {"key a\n", [](State& s) { s.view.x_min = s.view.x_min + Extended{s.view.width} / 4; }, true},
      {"key D\n", [](State& s) { s.view.x_min = s.view.x_min - Extended{s.view.width} / 4; }, true},
      {"key w\n", [](State& s) { s.view.y_min = s.view.y_min - Extended{s.view.height} / 4; },
       true},
      {"key X\n", [](State& s) { s.view.y_min = s.view.y_min + Extended{s.view.height} / 4; },
       true},
      {"key y\n", [](State& s) { s.limit = 512; }, false},
      {"key Space\n", [](State&) {}, true},
      // 512 - 256 = 256, then T at 256 keeps 256.
      {"key T\nkey t\nkey Space\n", [](State& s) { s.limit = 256; }, true},
      {"key Backspace\n",
       [](State& s) {
         s.view.x_min = s.view.x_min - Extended{s.view.width} / 2;
         s.view.y_min = s.view.y_min - Extended{s.view.height} / 2;
         s.view.width = 2 * Extended{s.view.width};
         s.view.height = 2 * Extended{s.view.height};
       },
       true},
      // Enter zooms to the square as it is now: its S + 1 rows fill the next picture.
      {"key +\nkey Right\nkey Enter\n",
       [](State& s) {
         s.square = {200, 199, 100};
         const double dx = Step(s.view.width), dy = Step(s.view.height);
         const Extended left_out = kMaxY - 1 - s.square.size;
         s.view.x_min = s.view.x_min + static_cast<Extended>(s.square.x) * dx;
         s.view.y_min = s.view.y_min + static_cast<Extended>(s.square.y) * dy;
         s.view.width = s.view.width - left_out * dx;
         s.view.height = s.view.height - left_out * dy;
       },
       true},
  };
  std::string script = "wait idle\n";
  for (size_t i = 0; i < std::size(cases); ++i) {
    script += cases[i].keys + "wait idle\nshot " + std::to_string(i) + ".png\n";
  }
  RunExplorer(script + "key Escape\n");

  State state;
  Canvas picture;
  picture.Redraw(state.view, state.limit);
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE("after case " + std::to_string(i) + ":\n" + cases[i].keys);
    cases[i].change(state);
    if (cases[i].redraws) picture.Redraw(state.view, state.limit);
    EXPECT_TRUE(Shows(Shot(std::to_string(i) + ".png"), picture.WithSquare(state.square)));
  }
}

TEST(MandelbrotExplorerTest, AKeyStopsARedrawAtTheNextPixelAndIsTheFirstKeyHandled) {
  // The second redraw (after "a") is stopped right after the pixel (400, 300); the pixels after
  // it keep the first picture.
  constexpr int32_t kLastX = 400, kLastY = 300;
  const int64_t polls = kPollsPerRedraw + int64_t{kLastY} * kMaxX + kLastX + 1;
  struct Case {
    std::string input;
    Square square;
  };
  const Case cases[] = {
      {"key +\n", {199, 199, 100}},
      // The close button's 0, 107 stops the redraw and does nothing else.
      {"close\n", kStartingSquare},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.input);
    RunExplorer("wait idle\nkey a\nwait polls " + std::to_string(polls) + "\n" + c.input +
                "wait idle\nshot stopped.png\nkey Escape\n");
    View shifted = StartingView();
    shifted.x_min = shifted.x_min + Extended{shifted.width} / 4;
    Canvas picture;
    picture.Redraw(StartingView(), 256);
    picture.Redraw(shifted, 256, int64_t{kLastY} * kMaxX + kLastX + 1);
    EXPECT_TRUE(Shows(Shot("stopped.png"), picture.WithSquare(c.square)));
  }
}

TEST(MandelbrotExplorerTest, EndsWithAMessageWhenTheWindowCannotOpen) {
  ExpectEndsWhenTheWindowCannotOpen("mandelbrot_explorer");
}

}  // namespace
}  // namespace lumivex::testing
