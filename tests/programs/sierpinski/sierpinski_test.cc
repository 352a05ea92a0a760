// The Sierpinski triangle: its subdivision counted in process, its picture and keys end to end.
#include "sierpinski.h"

#include <gtest/gtest.h>
#include <lumivex/lumivex.h>

#include "support/program_runner.h"
#include "testing.h"

namespace lumivex::testing {
namespace {

TEST(SierpinskiTest, DividesWhileWidthAndHeightAreAtLeastTen) {
  struct Case {
    const char* name;
    double w, h;
    int32_t triangles;
  } const cases[] = {
      {"width exactly 10 is divided once", 10.0, 10.0, 4},
      {"width 9.984375 is not divided", 9.984375, 9.984375, 1},
      {"both width and height must reach 10", 10.0, 9.99, 1},
      {"the program's triangle: six levels", 319.5, 319.5, 364},
  };
  // No canvas is open: the drawing calls do nothing, the recursion and pauses still run.
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    triangles_drawn = 0;
    DrawTriangle(319.5, 119.75, c.w, c.h);
    EXPECT_EQ(triangles_drawn, c.triangles);
  }
}

uint32_t WhiteOnTheDefaultPalette() {
  int16_t driver = 3, mode = 4;
  OpenCanvas(driver, mode, "white");
  EXPECT_TRUE(CanvasIsOpen());
  const uint32_t white = ColourTableEntry(static_cast<int>(PredefinedColours[250]));
  CloseCanvas();
  return white;
}

TEST(SierpinskiTest, TheWholeFigureThenTheCloseButtonEndsTheWait) {
  RunOptions options;
  options.script = "wait idle\nshot figure.png\nclose\n";
  const RunResult result = RunProgram("sierpinski", options);
  EXPECT_FALSE(result.timed_out);
  EXPECT_EQ(result.exit_code, 0) << result.errors;
  Picture picture;
  ASSERT_TRUE(ReadPng(TestDirectory() + "/figure.png", &picture));
  ASSERT_EQ(picture.width, 640);
  ASSERT_EQ(picture.height, 480);

  const uint32_t white = WhiteOnTheDefaultPalette();
  struct Point {
    const char* what;
    int32_t x, y;
    bool white;
  } const points[] = {
      {"outer apex", 320, 120, true},
      {"outer right corner", 479, 439, true},
      {"outer left corner", 160, 439, true},
      {"base of the top sub-triangle, row [279.5]", 320, 280, true},
      {"base of the sixth-level triangle at the apex, row [129.73]", 320, 130, true},
      {"inside it, where a seventh level would draw its base", 320, 125, false},
      {"inside it, left of the centre", 319, 125, false},
      {"inside the middle triangle left out by the first division", 320, 360, false},
  };
  for (const Point& p : points) {
    EXPECT_EQ(picture.At(p.x, p.y) == white, p.white) << p.what;
  }
  for (int32_t y = 0; y < 480; ++y) {
    for (int32_t x = 0; x < 640; ++x) {
      const uint32_t pixel = picture.At(x, y);
      const bool outside = y < 120 || y > 439 || x < 160 || x > 479;
      ASSERT_TRUE(pixel == 0 || (pixel == white && !outside)) << x << "," << y;
    }
  }
}

TEST(SierpinskiTest, AKeyPressedWhileDrawingIsKeptForTheEnd) {
  // The key arrives before the drawing starts; the figure still grows after it (the shot two
  // seconds in, of a drawing that takes at least 3.64 s), and the final wait takes it at once.
  RunOptions options;
  options.script = "wait opens 1\nkey a\nwait ms 2000\nshot growing.png\n";
  options.time_limit = std::chrono::seconds(30);
  const RunResult result = RunProgram("sierpinski", options);
  EXPECT_FALSE(result.timed_out);
  EXPECT_EQ(result.exit_code, 0) << result.errors;
  Picture picture;
  ASSERT_TRUE(ReadPng(TestDirectory() + "/growing.png", &picture)) << result.errors;
  EXPECT_EQ(picture.At(320, 120), WhiteOnTheDefaultPalette());
}

TEST(SierpinskiTest, AWindowThatCannotOpenEndsWithAMessage) {
  ExpectEndsWhenTheWindowCannotOpen("sierpinski");
}

}  // namespace
}  // namespace lumivex::testing
