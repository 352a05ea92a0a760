// The mouse part: latest position, buttons and keys, in a binary that links it.
#include <lumivex/mouse.h>

#include "canvas_fixture.h"
#include "input_injection.h"
#include "platform/messages.h"

namespace lumivex::testing {
namespace {

TEST(MouseStartTest, ValuesAreZeroBeforeAnyMessage) {
  EXPECT_EQ(MouseX(), 0);
  EXPECT_EQ(MouseY(), 0);
  EXPECT_EQ(MouseButtons(), 0);
}

TEST_F(CanvasTest, ButtonsKeysPositionsAndTheWheel) {
  Open(3, 6);
  ASSERT_TRUE(InjectMouse(799, 599, 0));
  EXPECT_EQ(MouseX(), 799);
  EXPECT_EQ(MouseY(), 599);
  ASSERT_TRUE(InjectMouse(10, 20, kMkLeftButton | kMkControl));
  EXPECT_EQ(MouseButtons(), 17);
  ASSERT_TRUE(InjectMouse(10, 20, kMkControl));
  EXPECT_EQ(MouseButtons(), 16);
  ASSERT_TRUE(InjectMouse(-5, 3, kMkRightButton | kMkMiddleButton | kMkShift));
  EXPECT_EQ(MouseX(), -5);
  EXPECT_EQ(MouseButtons(), 2 | 4 | 8);
  ASSERT_TRUE(InjectMouse(1, 1, 0));
  ASSERT_TRUE(InjectWheel(1000, 900));  // screen coordinates
  EXPECT_EQ(MouseX(), 1000);
  EXPECT_EQ(MouseY(), 900);
  CloseCanvas();
  EXPECT_EQ(MouseX(), 1000);  // kept after closing
  EXPECT_EQ(MouseY(), 900);
}

TEST_F(CanvasTest, TheMouseHookIsInstalledAfterTheKeyboardHook) {
  EXPECT_NE(MouseHook, nullptr);
  EXPECT_NE(KeyboardHook, nullptr);
}

}  // namespace
}  // namespace lumivex::testing
