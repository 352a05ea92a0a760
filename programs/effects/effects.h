// The effects program: eight animated effects, each in a window of its own, one after another.
//
// Every effect draws through a grid of 320 x 240 cells of 2 x 2 pixels on a 256-colour canvas of
// 640 x 480. An animation object holds an effect's tables and frame counter and paints one frame
// at a time into a cell sink: the canvas (PaintCell, ReadCell) in the program, a plain array in
// the benchmarks. Effect1() .. Effect8() run an effect from opening its window to closing it.
#pragma once

#include <array>
#include <cstdint>

#include "effect_tables.h"

namespace effects {

// ---------------------------------------------------------------------------------------------
// The cell grid.

inline constexpr int32_t kLastColumn = 319;
inline constexpr int32_t kLastRow = 239;

// Fills cell (x, y) as the 3 x 3 pixels from (2x, 2y) to (2x + 2, 2y + 2) in the colour (taken
// modulo 256 by the palette); painted rows first, left to right, a cell owns its 2 x 2 block.
void PaintCell(int32_t x, int32_t y, int32_t colour);

// The palette entry nearest to the colour of the pixel (2x + 1, 2y + 1) of the draw page.
int32_t ReadCell(int32_t x, int32_t y);

struct CanvasCells {
  void Paint(int32_t x, int32_t y, int32_t colour) { PaintCell(x, y, colour); }
  int32_t Read(int32_t x, int32_t y) { return ReadCell(x, y); }
};

// From black to orange at 63 and 64, green at 127 and 128, violet at 191 and 192, and back to
// black at 255.
void SetRampPalette();

// ---------------------------------------------------------------------------------------------
// Frames.

// Order A shows the frame just painted after painting it; order B shows the frame before and
// clears the page before painting, so the frame in which a key is noticed is never shown.
enum class FlipOrder { kAfterFrame, kBeforeFrameWithClearing };

// Counter rules: effects 1 to 5 count up without bound (wrapping at the 32-bit limit instead of
// overflowing), effect 6 runs 1..156, 0, ..., effect 7 1..281, 0, ..., effect 8 0..1000, 0, ...
inline int32_t NextUnboundedFrame(int32_t t) {
  return static_cast<int32_t>(static_cast<uint32_t>(t) + 1u);
}
inline int32_t NextEffect6Frame(int32_t t) {
  return t + 1 == 157 ? 0 : t + 1;
}
inline int32_t NextEffect7Frame(int32_t t) {
  return t + 1 >= 282 ? 0 : t + 1;
}
inline int32_t NextEffect8Frame(int32_t f) {
  return f + 1 > 1000 ? 0 : f + 1;
}

// A colour that left the 32-bit range keeps its value modulo 2^32, which is all the palette sees.
inline int32_t CellColour(int64_t v) {
  return static_cast<int32_t>(v);
}

// The sine-table effects 1 to 5 share this frame: advance t, then paint every cell of rows
// 0..last_row and columns 0..319 in the colour the effect gives for (t, x, y).
template <typename Animation, typename Cells>
void PaintCounterFrame(Animation& animation, int32_t& t, int32_t last_row, Cells& cells) {
  t = NextUnboundedFrame(t);
  for (int32_t y = 0; y <= last_row; ++y) {
    for (int32_t x = 0; x <= kLastColumn; ++x)
      cells.Paint(x, y, animation.Colour(t, x, y));
  }
}

// ---------------------------------------------------------------------------------------------
// The eight animations. Prepare() sets the effect's palette and builds its tables, in the
// effect's order, on the open canvas; PaintFrame() paints the next frame.

// Effect 1: W[x + t] + W[y] - t under the default palette.
class Effect1Animation {
 public:
  static constexpr FlipOrder kFlipOrder = FlipOrder::kAfterFrame;
  static Effect1Animation Prepare() { return Effect1Animation(); }

  int32_t Colour(int32_t t, int32_t x, int32_t y) const {
    return CellColour(int64_t{w_[int64_t{x} + t]} + w_[y] - t);
  }
  template <typename Cells>
  void PaintFrame(Cells& cells) {
    PaintCounterFrame(*this, t_, kLastRow, cells);
  }
  int32_t t() const { return t_; }

 private:
  Effect1Animation() : w_(35, 35, 0, 9000) {}
  SineTable w_;
  int32_t t_ = 0;
};

// Effect 2: B[2t + y] + A[x - t] + C[x + y - 3t] + 2t under the ramp palette.
class Effect2Animation {
 public:
  static constexpr FlipOrder kFlipOrder = FlipOrder::kAfterFrame;
  static Effect2Animation Prepare();

  int32_t Colour(int32_t t, int32_t x, int32_t y) const {
    const int64_t t2 = 2 * int64_t{t};
    return CellColour(int64_t{b_[t2 + y]} + a_[int64_t{x} - t] +
                      c_[int64_t{x} + y - 3 * int64_t{t}] + t2);
  }
  template <typename Cells>
  void PaintFrame(Cells& cells) {
    PaintCounterFrame(*this, t_, kLastRow, cells);
  }
  int32_t t() const { return t_; }

 private:
  Effect2Animation();
  SineTable a_, b_, c_;
  int32_t t_ = 0;
};

// Effect 3: B[x + y + 2t] + A[y + t] - C[x - y - t] + 2t - B[C[x - t] + y - 2t], blue and white.
class Effect3Animation {
 public:
  static constexpr FlipOrder kFlipOrder = FlipOrder::kAfterFrame;
  static Effect3Animation Prepare();

  int32_t Colour(int32_t t, int32_t x, int32_t y) const {
    const int64_t t2 = 2 * int64_t{t};
    return CellColour(int64_t{b_[int64_t{x} + y + t2]} + a_[int64_t{y} + t] -
                      c_[int64_t{x} - y - t] + t2 - b_[c_[int64_t{x} - t] + int64_t{y} - t2]);
  }
  template <typename Cells>
  void PaintFrame(Cells& cells) {
    PaintCounterFrame(*this, t_, kLastRow, cells);
  }
  int32_t t() const { return t_; }

 private:
  Effect3Animation();
  SineTable a_, b_, c_;
  int32_t t_ = 0;
};

// Effect 4: B[x + y + t] + A[y + t] - C[x - y + t], contour lines in four colour bands. It paints
// rows 0..319; the rows from 240 on fall below the canvas and are clipped away.
class Effect4Animation {
 public:
  static constexpr FlipOrder kFlipOrder = FlipOrder::kAfterFrame;
  static constexpr int32_t kLastPaintedRow = 319;
  static Effect4Animation Prepare();

  int32_t Colour(int32_t t, int32_t x, int32_t y) const {
    return CellColour(int64_t{b_[int64_t{x} + y + t]} + a_[int64_t{y} + t] -
                      c_[int64_t{x} - y + t]);
  }
  template <typename Cells>
  void PaintFrame(Cells& cells) {
    PaintCounterFrame(*this, t_, kLastPaintedRow, cells);
  }
  int32_t t() const { return t_; }

 private:
  Effect4Animation();
  SineTable a_, b_, c_;
  int32_t t_ = 0;
};

// Effect 5: three nested lookups folded into 0..255 under the ramp palette.
class Effect5Animation {
 public:
  static constexpr FlipOrder kFlipOrder = FlipOrder::kAfterFrame;
  static Effect5Animation Prepare();

  int32_t Colour(int32_t t, int32_t x, int32_t y) const {
    const int64_t a = int64_t{b_[2 * int64_t{t} + y]} + a_[int64_t{x} - t] + t;
    const int64_t b = int64_t{c_[b_[x] + a - y + t]} + x;
    const int64_t c =
        int64_t{c_[b_[2 * int64_t{t} + y] - int64_t{a_[int64_t{x} - t - b]}]} + b_[int64_t{x} - t];
    return fold_[c];
  }
  template <typename Cells>
  void PaintFrame(Cells& cells) {
    PaintCounterFrame(*this, t_, kLastRow, cells);
  }
  int32_t t() const { return t_; }

 private:
  Effect5Animation();
  SineTable a_, b_, c_;
  FoldTable fold_;
  int32_t t_ = 0;
};

// Effect 6: two stripe patterns bent by sine tables, overlaid in four colours.
class Effect6Animation {
 public:
  static constexpr FlipOrder kFlipOrder = FlipOrder::kAfterFrame;
  static Effect6Animation Prepare();

  int32_t Colour(int32_t t, int32_t x, int32_t y) const {
    const int64_t x64 = x, y64 = y;
    const int32_t u = stripes_a_[int64_t{s2_[y64 + t]} + s1_[x64] + s2_[s1_[s3_[y64] + x64]]];
    const int32_t v =
        stripes_b_[int64_t{s1_[s2_[y64 - x64 + t] + y64 + x64]} + s2_[y64 + t] + s3_[x64 - y64]];
    return u | v;
  }
  template <typename Cells>
  void PaintFrame(Cells& cells) {
    t_ = NextEffect6Frame(t_);
    for (int32_t y = 0; y <= kLastRow; ++y) {
      for (int32_t x = 0; x <= kLastColumn; ++x)
        cells.Paint(x, y, Colour(t_, x, y));
    }
  }
  int32_t t() const { return t_; }

 private:
  Effect6Animation();
  StripeTable stripes_a_, stripes_b_;
  SineTable s1_, s2_, s3_;
  int32_t t_ = 0;
};

// Effect 7: P[x + s + t] + R[x + s] + Q[y + s] with a shift s of +-128 that changes sign before
// every cell. Rows and columns start at 1, so cell row 0 and cell column 0 are never painted.
class Effect7Animation {
 public:
  static constexpr FlipOrder kFlipOrder = FlipOrder::kAfterFrame;
  static Effect7Animation Prepare();

  int32_t Colour(int32_t t, int32_t s, int32_t x, int32_t y) const {
    return p_[int64_t{x} + s + t] + r_[int64_t{x} + s] + q_[int64_t{y} + s];
  }
  template <typename Cells>
  void PaintFrame(Cells& cells) {
    t_ = NextEffect7Frame(t_);
    for (int32_t y = 1; y <= kLastRow; ++y) {
      for (int32_t x = 1; x <= kLastColumn; ++x) {
        s_ = -s_;
        cells.Paint(x, y, Colour(t_, s_, x, y));
      }
    }
  }
  int32_t t() const { return t_; }

 private:
  Effect7Animation();
  SineTable p_;
  TwoSineTable q_;
  SineTable r_;
  int32_t t_ = 0;
  int32_t s_ = 128;  // set once, never reset: the checkerboard inverts from frame to frame
};

// Effect 8: five turning plane waves added cell by cell onto the cleared page, each cell read
// back from the page before every wave.
class Effect8Animation {
 public:
  static constexpr FlipOrder kFlipOrder = FlipOrder::kBeforeFrameWithClearing;
  static Effect8Animation Prepare();

  struct Wave {
    uint16_t dx, dy;  // [cos(theta) * 2000] and [sin(theta) * 2400], modulo 65536
  };
  // Wave k (0..4) of the frame with variable f: theta = 2k * pi / 5 + f / 120.
  static Wave WaveOf(int32_t f, int32_t k);

  // W[i] = [sin(2i * pi / 256) * 64].
  int32_t WaveHeight(uint8_t i) const { return wave_table_[i]; }

  template <typename Cells>
  void PaintFrame(Cells& cells) {
    for (int32_t k = 0; k <= 4; ++k) {
      const Wave wave = WaveOf(f_, k);
      uint16_t base = static_cast<uint16_t>(1000u * static_cast<uint32_t>(f_) - 120u * wave.dy -
                                            160u * wave.dx);
      for (int32_t y = 0; y <= kLastRow; ++y) {
        uint16_t acc = base;
        base = static_cast<uint16_t>(base + wave.dy);
        for (int32_t x = 0; x <= kLastColumn; ++x) {
          cells.Paint(x, y, cells.Read(x, y) + wave_table_[acc >> 8]);
          acc = static_cast<uint16_t>(acc + wave.dx);
        }
      }
    }
    f_ = NextEffect8Frame(f_);
  }
  int32_t f() const { return f_; }

 private:
  Effect8Animation();
  std::array<int32_t, 256> wave_table_;
  int32_t f_ = 0;
};

// ---------------------------------------------------------------------------------------------
// The effects, each from opening its window ("EFECT 1" .. "EFECT 8") until a key is waiting.
// False when the window could not be opened: the effect could then never see a key and end.

bool Effect1();
bool Effect2();
bool Effect3();
bool Effect4();
bool Effect5();
bool Effect6();
bool Effect7();
bool Effect8();

}  // namespace effects
