// The explorer's redraw, zoom square and key handling.
#include "mandelbrot_explorer.h"

#include <cstdio>

namespace mandelbrot_explorer {

namespace {

constexpr uint8_t kBackspace = 8;
constexpr uint8_t kEnter = 13;
constexpr uint8_t kEscape = 27;
constexpr uint8_t kSpace = 32;

// The letters a..z become A..Z; every other code is unchanged.
uint8_t UpperCase(uint8_t code) {
  return code >= 'a' && code <= 'z' ? static_cast<uint8_t>(code - 'a' + 'A') : code;
}

}  // namespace

View StartingView(uint16_t max_x, uint16_t max_y) {
  View view;
  view.width = 4.0;
  view.height = 4.0;
  view.x_min = -2.0 * (static_cast<Extended>(max_x) / max_y);
  view.y_min = -2.0;
  return view;
}

double PixelStep(double span, uint16_t max_y) {
  return static_cast<Extended>(span) / max_y;
}

int Explorer::Run() {
  int16_t driver = 3;
  int16_t mode = 6;
  OpenCanvas(driver, mode, "EXPLORAREA FRACTALULUI MANDELBROT");
  // Without a window no key can ever come, so the interaction would never end.
  if (!CanvasIsOpen()) {
    std::fprintf(stderr, "mandelbrot_explorer: the window could not be opened\n");
    return 1;
  }
  Start();
  for (;;) {
    Redraw();
    const uint8_t code = Interact();
    if (code == kEscape) break;
    if (code == kEnter) ZoomIn();
  }
  CloseCanvas();
  return 0;
}

void Explorer::Start() {
  max_x_ = static_cast<uint16_t>(MaxX());
  max_y_ = static_cast<uint16_t>(MaxY());
  limit_ = kLimitStep;
  view_ = StartingView(max_x_, max_y_);
  square_x_ = max_x_ / 4;
  square_y_ = max_x_ / 4;
  square_size_ = max_x_ / 8;
}

void Explorer::Redraw() {
  dx_ = PixelStep(view_.width, max_y_);
  dy_ = PixelStep(view_.height, max_y_);
  const int32_t colours = limit_ + 1;
  // cx and cy advance by repeated addition, not from the column and row numbers.
  double cy = view_.y_min;
  for (int32_t row = 0;;) {
    double cx = view_.x_min;
    for (int32_t column = 0;;) {
      const int32_t n = EscapeCount(cx, cy, limit_);
      PlotPixel(static_cast<int16_t>(column), static_cast<int16_t>(row),
                static_cast<Colour>(n % colours));
      cx = static_cast<Extended>(cx) + dx_;
      ++column;
      // The column test comes first: the key queue is not asked after the last column.
      if (column >= max_x_ || KeyWaiting()) break;
    }
    cy = static_cast<Extended>(cy) + dy_;
    ++row;
    if (row >= max_y_ || KeyWaiting()) return;
  }
}

uint8_t Explorer::Interact() {
  uint8_t code = 0;
  ShowSquare();
  do {
    code = UpperCase(NextKey());
    // Keys without a character arrive as 0 and a second code, which is used as it is.
    if (code == 0) code = NextKey();
    HideSquare();
    code = ActOn(code);
    KeepWithinLimits();
    ShowSquare();
  } while (code != kEscape && code != kEnter && code != kSpace);
  HideSquare();
  return code;
}

uint8_t Explorer::ActOn(uint8_t code) {
  // The arrows' second codes are those of H, K, M and P, so the letters move the square too.
  switch (code) {
    case kBackspace:
      view_.x_min = static_cast<Extended>(view_.x_min) - static_cast<Extended>(view_.width) / 2;
      view_.y_min = static_cast<Extended>(view_.y_min) - static_cast<Extended>(view_.height) / 2;
      view_.width = 2 * static_cast<Extended>(view_.width);
      view_.height = 2 * static_cast<Extended>(view_.height);
      return kSpace;
    case '*':
      if (square_y_ > 0) --square_y_;
      if (square_x_ > 0) --square_x_;
      if (square_size_ < max_y_ - 1) square_size_ += 2;
      break;
    case '+':
      if (square_size_ < max_y_) ++square_size_;
      break;
    case '-':
      if (square_size_ > 0) --square_size_;
      break;
    case '/':
      if (square_y_ + square_size_ < max_y_) ++square_y_;
      if (square_x_ + square_size_ < max_x_) ++square_x_;
      if (square_size_ > 1) square_size_ -= 2;
      break;
    case 'A':
      view_.x_min = static_cast<Extended>(view_.x_min) + static_cast<Extended>(view_.width) / 4;
      return kSpace;
    case 'D':
      view_.x_min = static_cast<Extended>(view_.x_min) - static_cast<Extended>(view_.width) / 4;
      return kSpace;
    case 'H':
      --square_y_;
      break;
    case 'K':
      --square_x_;
      break;
    case 'M':
      ++square_x_;
      break;
    case 'P':
      ++square_y_;
      break;
    case 'T':
      limit_ -= kLimitStep;
      break;
    case 'W':
      view_.y_min = static_cast<Extended>(view_.y_min) - static_cast<Extended>(view_.height) / 4;
      return kSpace;
    case 'X':
      view_.y_min = static_cast<Extended>(view_.y_min) + static_cast<Extended>(view_.height) / 4;
      return kSpace;
    case 'Y':
      limit_ = RaisedLimit(limit_);
      break;
    default:
      break;
  }
  return code;
}

void Explorer::KeepWithinLimits() {
  if (square_size_ <= 0) square_size_ = 1;
  if (square_size_ >= max_y_) square_size_ = max_y_ - 1;
  if (square_x_ < 0) square_x_ = 0;
  if (square_x_ + square_size_ >= max_x_) square_x_ = max_x_ - square_size_ - 1;
  if (square_y_ < 0) square_y_ = 0;
  if (square_y_ + square_size_ >= max_y_) square_y_ = max_y_ - square_size_ - 1;
  if (limit_ < kLimitStep) limit_ = kLimitStep;
}

void Explorer::ZoomIn() {
  // The square's size + 1 rows fill the height of the next picture.
  const int32_t rows_left_out = max_y_ - 1 - square_size_;
  view_.x_min = static_cast<Extended>(view_.x_min) + static_cast<Extended>(square_x_) * dx_;
  view_.y_min = static_cast<Extended>(view_.y_min) + static_cast<Extended>(square_y_) * dy_;
  view_.width = static_cast<Extended>(view_.width) - static_cast<Extended>(rows_left_out) * dx_;
  view_.height = static_cast<Extended>(view_.height) - static_cast<Extended>(rows_left_out) * dy_;
}

// The square's outline without its corners, which are inverted twice, plus its centre pixel.
void Explorer::ShowSquare() {
  const int32_t x2 = square_x_ + square_size_;
  const int32_t y2 = square_y_ + square_size_;
  for (int32_t i = square_x_; i <= x2; ++i) {
    InvertPixel(i, square_y_);
    InvertPixel(i, y2);
  }
  for (int32_t j = square_y_; j <= y2; ++j) {
    InvertPixel(square_x_, j);
    InvertPixel(x2, j);
  }
  InvertPixel(square_x_ + (x2 - square_x_) / 2, square_y_ + (y2 - square_y_) / 2);
}

// Puts back the colours the square covered, last inversion first. Inverting again would not do:
// ReadPixel gives the nearest palette entry, not the index plotted, and black reads back as
// entry 0, so a pixel of entry 240..246, inverted into one of the black entries 255..249, would
// come back as entry 15 (white) and stay so on the picture.
void Explorer::HideSquare() {
  for (auto saved = under_square_.rbegin(); saved != under_square_.rend(); ++saved) {
    PlotPixel(saved->x, saved->y, saved->colour);
  }
  under_square_.clear();
}

void Explorer::InvertPixel(int32_t x, int32_t y) {
  const auto column = static_cast<int16_t>(x);
  const auto row = static_cast<int16_t>(y);
  const Colour colour = ReadPixel(column, row);
  under_square_.push_back(SavedPixel{column, row, colour});
  PlotPixel(column, row, colour ^ 15);
}

}  // namespace mandelbrot_explorer
