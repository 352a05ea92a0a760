// The cell grid, the palettes and tables of the eight effects, and the frame loop that runs an
// effect in its window.
#include "effects.h"

#include <lumivex/lumivex.h>
#include <lumivex/numeric.h>

#include <cmath>

namespace effects {

namespace {

// Each effect sets these again before opening its window and right after.
int16_t driver;
int16_t mode;
int16_t page;

void SetPaletteEntry(int32_t i, int32_t red, int32_t green, int32_t blue) {
  SetPaletteRGB(static_cast<uint16_t>(i), static_cast<uint16_t>(red), static_cast<uint16_t>(green),
                static_cast<uint16_t>(blue));
}

// Blue at entries 0 and 255, white at 127 and 128.
void SetBlueWhitePalette() {
  for (int32_t i = 0; i <= 255; ++i) {
    const int32_t level = i <= 127 ? 4 * (i / 2) : 4 * ((255 - i) / 2);
    SetPaletteEntry(i, level, level, 252);
  }
}

// Black but for four bands of eight entries rising and falling in steps of 36: blue peaking at
// 255 and 0, grey at 63 and 64, green at 127 and 128, red at 191 and 192. Set in this order.
void SetContourPalette() {
  for (int32_t i = 0; i <= 255; ++i)
    SetPaletteEntry(i, 0, 0, 0);
  for (int32_t i = 248; i <= 255; ++i)
    SetPaletteEntry(i, 0, 0, 36 * (i - 248));
  for (int32_t i = 0; i <= 7; ++i)
    SetPaletteEntry(i, 0, 0, 36 * (7 - i));
  for (int32_t i = 56; i <= 63; ++i)
    SetPaletteEntry(i, 36 * (i - 56), 36 * (i - 56), 36 * (i - 56));
  for (int32_t i = 64; i <= 71; ++i)
    SetPaletteEntry(i, 36 * (71 - i), 36 * (71 - i), 36 * (71 - i));
  for (int32_t i = 120; i <= 127; ++i)
    SetPaletteEntry(i, 0, 36 * (i - 120), 0);
  for (int32_t i = 128; i <= 135; ++i)
    SetPaletteEntry(i, 0, 36 * (135 - i), 0);
  for (int32_t i = 184; i <= 191; ++i)
    SetPaletteEntry(i, 36 * (i - 184), 0, 0);
  for (int32_t i = 192; i <= 199; ++i)
    SetPaletteEntry(i, 36 * (199 - i), 0, 0);
}

// Black, blue, orange and white at entries 0 to 3, black elsewhere.
void SetStripePalette() {
  for (int32_t i = 0; i <= 255; ++i)
    SetPaletteEntry(i, 0, 0, 0);
  SetPaletteEntry(1, 0, 64, 252);
  SetPaletteEntry(2, 252, 64, 0);
  SetPaletteEntry(3, 252, 252, 252);
}

// Black through magenta at 63 and 64, yellow at 127 and 128, red at 191 and 192, back to black.
void SetFirePalette() {
  for (int32_t i = 0; i <= 255; ++i) {
    if (i <= 63) {
      SetPaletteEntry(i, 4 * i, 0, 4 * i);
    } else if (i <= 127) {
      SetPaletteEntry(i, 252, 4 * (i - 64), 4 * (127 - i));
    } else if (i <= 191) {
      SetPaletteEntry(i, 252, 4 * (191 - i), 0);
    } else {
      SetPaletteEntry(i, 4 * (255 - i), 0, 0);
    }
  }
}

// 4 * [63 * sin^2(n * 21167)], the argument in radians.
int32_t WheelComponent(int32_t n) {
  const Extended s = std::sin(static_cast<Extended>(n) * 21167);
  int64_t level = 0;
  NearestInteger(63 * s * s, level);
  return 4 * static_cast<int32_t>(level);
}

// A colour wheel making one turn over the 256 entries, from cyan at entry 0 back to cyan.
void SetWheelPalette() {
  for (int32_t i = 0; i <= 255; ++i) {
    SetPaletteEntry(i, WheelComponent(3 * i), WheelComponent(3 * i + 1), WheelComponent(3 * i + 2));
  }
}

// Order A: show the page just painted and paint the other; the first flip shows page 1 while
// drawing stays on page 0.
void FlipPages() {
  SetDrawPage(static_cast<uint16_t>(page));
  page = static_cast<int16_t>(1 - page);
  SetShowPage(static_cast<uint16_t>(page));
}

template <typename Animation>
bool RunEffect(const char* title) {
  driver = 3;
  mode = 4;
  OpenCanvas(driver, mode, title);
  if (!CanvasIsOpen()) return false;
  page = 0;
  Animation animation = Animation::Prepare();
  CanvasCells cells;
  for (;;) {
    if constexpr (Animation::kFlipOrder == FlipOrder::kBeforeFrameWithClearing) {
      FlipPages();
      ClearCanvas();
    }
    animation.PaintFrame(cells);
    if constexpr (Animation::kFlipOrder == FlipOrder::kAfterFrame) FlipPages();
    if (KeyWaiting()) {
      CloseCanvas();
      return true;
    }
  }
}

}  // namespace

void PaintCell(int32_t x, int32_t y, int32_t colour) {
  SetFillStyle(1, static_cast<Colour>(colour));
  FillBar(static_cast<int16_t>(2 * x), static_cast<int16_t>(2 * y), static_cast<int16_t>(2 * x + 2),
          static_cast<int16_t>(2 * y + 2));
}

int32_t ReadCell(int32_t x, int32_t y) {
  return static_cast<int32_t>(
      ReadPixel(static_cast<int16_t>(2 * x + 1), static_cast<int16_t>(2 * y + 1)));
}

void SetRampPalette() {
  for (int32_t i = 0; i <= 255; ++i) {
    if (i <= 63) {
      int64_t green = 0;
      TruncatedInteger(static_cast<Extended>(i) / 1.5L, green);
      SetPaletteEntry(i, 4 * i, 4 * static_cast<int32_t>(green), 0);
    } else if (i <= 127) {
      SetPaletteEntry(i, 4 * (127 - i), 4 * ((i - 64) / 3 + 42), 0);
    } else if (i <= 191) {
      SetPaletteEntry(i, 4 * ((i - 128) / 3), 4 * (191 - i), 4 * (i - 128));
    } else {
      SetPaletteEntry(i, 4 * ((255 - i) / 3), 0, 4 * (255 - i));
    }
  }
}

// Effects 2 to 7 set their palette, then build their tables; effect 8 the other way round.

Effect2Animation::Effect2Animation()
    : a_(25, 47, -2000, 2000), b_(27, 115, -2000, 2000), c_(53, 32, -2000, 2000) {}

Effect2Animation Effect2Animation::Prepare() {
  SetRampPalette();
  return Effect2Animation();
}

Effect3Animation::Effect3Animation()
    : a_(45, 63, -2000, 2000), b_(35, 127, -2000, 2000), c_(17, 32, -2000, 2000) {}

Effect3Animation Effect3Animation::Prepare() {
  SetBlueWhitePalette();
  return Effect3Animation();
}

Effect4Animation::Effect4Animation()
    : a_(45, 63, -2000, 2000), b_(35, 127, -2000, 2000), c_(17, 32, -2000, 2000) {}

Effect4Animation Effect4Animation::Prepare() {
  SetContourPalette();
  return Effect4Animation();
}

Effect5Animation::Effect5Animation()
    : a_(45, 27, -2000, 2000),
      b_(75, 83, -2000, 2000),
      c_(25, 48, -2000, 2000),
      fold_(-3000, 3000, FoldRule{}) {}

Effect5Animation Effect5Animation::Prepare() {
  SetRampPalette();
  return Effect5Animation();
}

Effect6Animation::Effect6Animation()
    : stripes_a_(-1024, 1024, StripeRule{1}),
      stripes_b_(-1024, 1024, StripeRule{2}),
      s1_(45, 63, -1024, 1024),
      s2_(25, 31, -1024, 1024),
      s3_(35, 127, -1024, 1024) {}

Effect6Animation Effect6Animation::Prepare() {
  SetStripePalette();
  return Effect6Animation();
}

Effect7Animation::Effect7Animation()
    : p_(45, 97, -127, 729), q_(-127, 367, TwoSineRule{}), r_(17, 72, -127, 447) {}

Effect7Animation Effect7Animation::Prepare() {
  SetFirePalette();
  return Effect7Animation();
}

Effect8Animation::Effect8Animation() {
  for (int32_t i = 0; i <= 255; ++i) {
    int64_t height = 0;
    NearestInteger(std::sin(2 * i * kPiExtended / 256) * 64, height);
    wave_table_[static_cast<size_t>(i)] = static_cast<int32_t>(height);
  }
}

Effect8Animation Effect8Animation::Prepare() {
  Effect8Animation animation;
  SetWheelPalette();
  return animation;
}

Effect8Animation::Wave Effect8Animation::WaveOf(int32_t f, int32_t k) {
  const Extended theta = 2 * k * kPiExtended / 5 + static_cast<Extended>(f) / 120;
  int64_t dx = 0, dy = 0;
  NearestInteger(std::cos(theta) * 2000, dx);
  NearestInteger(std::sin(theta) * 2400, dy);
  return Wave{static_cast<uint16_t>(dx), static_cast<uint16_t>(dy)};
}

bool Effect1() {
  return RunEffect<Effect1Animation>("EFECT 1");
}
bool Effect2() {
  return RunEffect<Effect2Animation>("EFECT 2");
}
bool Effect3() {
  return RunEffect<Effect3Animation>("EFECT 3");
}
bool Effect4() {
  return RunEffect<Effect4Animation>("EFECT 4");
}
bool Effect5() {
  return RunEffect<Effect5Animation>("EFECT 5");
}
bool Effect6() {
  return RunEffect<Effect6Animation>("EFECT 6");
}
bool Effect7() {
  return RunEffect<Effect7Animation>("EFECT 7");
}
bool Effect8() {
  return RunEffect<Effect8Animation>("EFECT 8");
}

}  // namespace effects
