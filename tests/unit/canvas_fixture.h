// A canvas opened for one test and closed after it.
#pragma once

#include <gtest/gtest.h>
#include <lumivex/lumivex.h>

#include "testing.h"

namespace lumivex::testing {

class CanvasTest : public ::testing::Test {
 protected:
  void Open(int16_t driver, int16_t mode, const char* title = "test") {
    OpenCanvas(driver, mode, title);
    ASSERT_TRUE(CanvasIsOpen()) << "status " << CanvasStatus();
  }
  void TearDown() override {
    if (CanvasIsOpen()) CloseCanvas();
  }
};

}  // namespace lumivex::testing

namespace lumivex::testing {

// A page region as ASCII art, one character per pixel from the legend (a value missing from
// the legend shows as '?'). Expected pictures are written the same way.
inline std::string PageArt(int page, int32_t x0, int32_t y0, int32_t width, int32_t height,
                           const std::string& legend_values, const std::string& legend_chars) {
  std::string art;
  for (int32_t y = y0; y < y0 + height; ++y) {
    for (int32_t x = x0; x < x0 + width; ++x) {
      const uint32_t v = PageValue(page, x, y);
      char c = '?';
      for (size_t i = 0; i < legend_values.size(); ++i) {
        if (static_cast<uint8_t>(legend_values[i]) == v) c = legend_chars[i];
      }
      art += c;
    }
    art += '\n';
  }
  return art;
}

inline std::string Art(std::initializer_list<const char*> rows) {
  std::string art;
  for (const char* row : rows)
    (art += row) += '\n';
  return art;
}

}  // namespace lumivex::testing
