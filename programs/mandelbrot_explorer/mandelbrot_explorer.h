// The Mandelbrot explorer: an escape-time picture of the Mandelbrot set on a 256-colour canvas,
// with a zoom square drawn by colour inversion that the keyboard moves and resizes, zooming in to
// the square, zooming out, shifting the view and changing the iteration limit. Every change of
// view redraws the whole picture; a key pressed during a redraw stops it at the next pixel.
//
// Real values are stored as doubles and every expression is formed in Extended before it is
// stored, so every build computes the same picture to the last bit.
#pragma once

#include <lumivex/lumivex.h>
#include <lumivex/numeric.h>

#include <cstdint>
#include <vector>

namespace mandelbrot_explorer {

// The iteration limit starts here, moves in steps of this size and never goes below it.
inline constexpr int32_t kLimitStep = 256;
// The largest multiple of kLimitStep for which limit + 1 still fits an int32_t.
inline constexpr int32_t kLargestLimit = INT32_MAX - (kLimitStep - 1);
static_assert(kLargestLimit % kLimitStep == 0);

// The limit one step up (the Y key), held at kLargestLimit so that neither the limit nor the
// colour count limit + 1 can overflow.
constexpr int32_t RaisedLimit(int32_t limit) {
  return limit <= kLargestLimit - kLimitStep ? limit + kLimitStep : limit;
}

// The steps the orbit of c = (cx, cy) takes, 1..limit + 1. The orbit starts at c itself; each
// step squares, adds c and counts, and the loop stops after the step taken from a z whose
// squared modulus exceeds 4 (exactly 4 goes on), or once the count exceeds the limit.
inline int32_t EscapeCount(double cx, double cy, int32_t limit) {
  double zx = cx;
  double zy = cy;
  double zx2;
  double zy2;
  int32_t n = 0;
  do {
    zx2 = static_cast<Extended>(zx) * zx;
    zy2 = static_cast<Extended>(zy) * zy;
    const double new_zx = static_cast<Extended>(zx2) + cx - zy2;
    const double new_zy = static_cast<Extended>(zx) * 2.0 * zy + cy;
    zx = new_zx;
    zy = new_zy;
    ++n;
  } while (!(static_cast<Extended>(zx2) + zy2 > 4.0) && n <= limit);
  return n;
}

// The region of the plane on the canvas: column 0 shows x_min, row 0 shows y_min, and y grows
// downwards. Width and height stay equal; a pixel step is span / MaxY in both directions.
struct View {
  double x_min;
  double y_min;
  double width;
  double height;
};

// The starting view of a canvas whose largest column and row are max_x and max_y: the span 4
// from -2 to 2 vertically, the left edge -2 * max_x / max_y.
View StartingView(uint16_t max_x, uint16_t max_y);

// The step from one pixel to the next for a span: span / max_y, stored as a double.
double PixelStep(double span, uint16_t max_y);

// The whole program. One instance lives for the run; its state persists between redraws.
class Explorer {
 public:
  // Opens the window, then alternates redraws and interactions until Esc; closes the window.
  // Returns the exit status: 1, with a message on standard error, when the window cannot open.
  int Run();

  // With the canvas open: reads its extent and sets the starting view, limit and zoom square.
  void Start();

  // Draws columns 0..MaxX - 1 of rows 0..MaxY - 1 (the last column and row keep what they
  // showed), leaving early when a key is queued; the key stays queued.
  void Redraw();

 private:
  struct SavedPixel {
    int16_t x;
    int16_t y;
    Colour colour;
  };

  // Takes keys until Esc, Enter or space (or a view key, which becomes space) and returns it.
  uint8_t Interact();
  // Acts on one code; returns it, or space for the view keys, which end the interaction.
  uint8_t ActOn(uint8_t code);
  // Keeps the square inside the canvas and the limit at 256 or more.
  void KeepWithinLimits();
  void ZoomIn();

  void ShowSquare();
  void HideSquare();
  void InvertPixel(int32_t x, int32_t y);

  uint16_t max_x_ = 0;
  uint16_t max_y_ = 0;
  View view_{};
  // The pixel steps of the last redraw; zooming in uses them.
  double dx_ = 0;
  double dy_ = 0;
  int32_t limit_ = kLimitStep;
  // The zoom square covers columns square_x_..square_x_ + square_size_ and the same rows.
  int32_t square_x_ = 0;
  int32_t square_y_ = 0;
  int32_t square_size_ = 0;
  // While the square shows: every inverted pixel with the colour it had before, in order.
  std::vector<SavedPixel> under_square_;
};

}  // namespace mandelbrot_explorer
