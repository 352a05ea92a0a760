// Geometry on a virtual screen of 1024 x 768 (set by the test's environment).
#include "canvas_fixture.h"
#include "platform/messages.h"

namespace lumivex::testing {
namespace {

TEST_F(CanvasTest, ModeEightDoesNotFitASmallerScreen) {
  int16_t driver = 3, mode = 8;
  OpenCanvas(driver, mode, "too big");
  EXPECT_EQ(CanvasStatus(), kStatusBadMode);
  EXPECT_FALSE(CanvasIsOpen());
}

TEST_F(CanvasTest, ModeTwelveCoversTheScreen) {
  Open(3, 12);
  EXPECT_EQ(MaxX(), 1023);
  EXPECT_EQ(MaxY(), 767);
  EXPECT_EQ(Placement().style, kStylePopup);
  EXPECT_EQ(Placement().x, 0);
}

TEST_F(CanvasTest, ModeSevenFallsBackToFrameless) {
  Open(3, 7);
  EXPECT_EQ(Placement().style, kStylePopup);
  EXPECT_EQ(MaxX(), 1023);
}

}  // namespace
}  // namespace lumivex::testing
