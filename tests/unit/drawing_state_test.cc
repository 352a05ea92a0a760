// The drawing state: defaults, viewport and clipping, clearing, bars and fills, write mode,
// fonts and text settings.
#include "canvas_fixture.h"

namespace lumivex::testing {
namespace {

using DrawingStateTest = CanvasTest;

// Page pixel values 0, 5 and 9 as '.', 'b' and '#'.
const std::string kValues("\x00\x05\x09", 3);
const std::string kChars = ".b#";

TEST_F(DrawingStateTest, StateAfterOpening) {
  Open(3, 4);
  const DrawingState& d = CurrentDrawingState();
  EXPECT_EQ(d.pen_colour, PredefinedColours[250]);
  EXPECT_EQ(d.back_colour, PredefinedColours[12]);
  EXPECT_EQ(d.fill_style, 1);
  EXPECT_EQ(d.fill_colour, PredefinedColours[250]);
  EXPECT_EQ(d.line_style, 0);
  EXPECT_EQ(d.line_thickness, 1);
  EXPECT_EQ(d.view_x1, 0);
  EXPECT_EQ(d.view_y2, 479);
  EXPECT_FALSE(d.view_clip);
  EXPECT_EQ(d.current_x, 0);
  EXPECT_EQ(d.aspect_x, 10000u);
  EXPECT_TRUE(d.neutral_aspect);
  EXPECT_EQ(d.text_size, 16);
  for (int i = 0; i < 8; ++i)
    EXPECT_EQ(d.fill_pattern[i], 0xFF);
}

TEST_F(DrawingStateTest, ViewportValidation) {
  Open(3, 4);
  SetView(10, 20, 10, 20, true);
  EXPECT_EQ(CanvasStatus(), kStatusOk);
  MovePen(3, 4);
  SetView(10, 0, 9, 0, false);
  EXPECT_EQ(CanvasStatus(), kStatusOutOfRange);
  const DrawingState& d = CurrentDrawingState();
  EXPECT_EQ(d.view_x1, 10);
  EXPECT_TRUE(d.view_clip);
  EXPECT_EQ(d.current_x, 3);
  // The one-pixel viewport still clips.
  SetFillStyle(1, 9);
  FillBar(-10, -10, 10, 10);
  EXPECT_EQ(PageValue(0, 10, 20), 9u);
  EXPECT_EQ(PageValue(0, 11, 20), 0u);
  EXPECT_EQ(PageValue(0, 10, 19), 0u);
}

TEST_F(DrawingStateTest, ClearViewFillsExactlyTheViewport) {
  Open(3, 4);
  SetView(100, 50, 199, 149, true);
  SetBackColour(5);
  ClearView();
  EXPECT_EQ(PageArt(0, 98, 48, 4, 4, kValues, kChars), Art({"....", "....", "..bb", "..bb"}));
  EXPECT_EQ(PageArt(0, 198, 148, 4, 4, kValues, kChars), Art({"bb..", "bb..", "....", "...."}));
  EXPECT_EQ(CurrentDrawingState().fill_style, 1);
  EXPECT_EQ(CurrentDrawingState().fill_colour, PredefinedColours[250]);
}

TEST_F(DrawingStateTest, ClearCanvasIgnoresAndRestoresTheClippingViewport) {
  Open(3, 4);
  SetView(100, 50, 199, 149, true);
  MovePen(7, 7);
  SetFillStyle(0, 9);
  SetBackColour(5);
  ClearCanvas();
  EXPECT_EQ(PageValue(0, 0, 0), 5u);
  EXPECT_EQ(PageValue(0, 639, 479), 5u);
  const DrawingState& d = CurrentDrawingState();
  EXPECT_TRUE(d.view_clip);
  EXPECT_EQ(d.view_x1, 100);
  EXPECT_EQ(d.current_x, 0);
  EXPECT_EQ(d.origin_y, 50);
  // Fill style 0 came back with the back colour current when it was set again.
  EXPECT_EQ(d.fill_style, 0);
  EXPECT_EQ(d.fill_colour, 5u);
  PlotPixel(-1, 0, 9);  // still clipped
  EXPECT_EQ(PageValue(0, 99, 50), 5u);
}

TEST_F(DrawingStateTest, FillBarCornersInAnyOrder) {
  Open(3, 4);
  SetFillStyle(1, 9);
  FillBar(20, 30, 10, 5);
  SetFillStyle(1, 5);
  FillBar(10, 5, 20, 30);
  for (int y = 4; y <= 31; ++y) {
    for (int x = 9; x <= 21; ++x) {
      const bool inside = x >= 10 && x <= 20 && y >= 5 && y <= 30;
      ASSERT_EQ(PageValue(0, x, y), inside ? 5u : 0u) << x << "," << y;
    }
  }
}

TEST_F(DrawingStateTest, EmptyAndNullFills) {
  Open(3, 4);
  SetBackColour(5);
  SetFillStyle(0, 9);
  EXPECT_EQ(CurrentDrawingState().fill_colour, 5u);
  SetBackColour(9);
  FillBar(0, 0, 1, 0);
  EXPECT_EQ(PageArt(0, 0, 0, 3, 1, kValues, kChars), Art({"bb."}));
  SetFillStyle(9, 9);
  FillBar(0, 0, 3, 3);
  EXPECT_EQ(PageArt(0, 0, 0, 3, 1, kValues, kChars), Art({"bb."}));
}

TEST_F(DrawingStateTest, UserPatternIsAnchoredToTheDevice) {
  Open(3, 4);
  SetBackColour(5);
  const uint8_t pattern[8] = {0x80, 0, 0, 0, 0, 0, 0, 0};
  SetFillPattern(pattern, 9);
  EXPECT_EQ(CurrentDrawingState().fill_style, 8);
  FillBar(6, 6, 17, 9);
  EXPECT_EQ(PageArt(0, 6, 6, 12, 4, kValues, kChars),
            Art({"bbbbbbbbbbbb", "bbbbbbbbbbbb", "bb#bbbbbbb#b", "bbbbbbbbbbbb"}));
  // The bitmap was painted once: new colours do not change it.
  SetBackColour(0);
  SetFillStyle(8, 1);
  FillBar(0, 0, 1, 0);
  EXPECT_EQ(PageArt(0, 0, 0, 2, 1, kValues, kChars), Art({"#b"}));
}

TEST_F(DrawingStateTest, HatchesPaintGapsOnlyWhenOpaque) {
  Open(3, 4);
  SetBackColour(5);
  SetFillStyle(5, 9);  // rising diagonal
  FillBar(0, 0, 7, 3);
  EXPECT_EQ(PageArt(0, 0, 0, 8, 4, kValues, kChars),
            Art({".......#", "......#.", ".....#..", "....#..."}));
  SetWriteMode(16);
  FillBar(0, 0, 7, 3);
  EXPECT_EQ(PageArt(0, 0, 0, 8, 4, kValues, kChars),
            Art({"bbbbbbb#", "bbbbbb#b", "bbbbb#bb", "bbbb#bbb"}));
  SetWriteMode(0);
  SetBackColour(0);
  ClearCanvas();
  SetFillStyle(4, 9);  // cross
  FillBar(0, 0, 9, 2);
  EXPECT_EQ(PageArt(0, 0, 0, 10, 3, kValues, kChars),
            Art({"##########", "#.......#.", "#.......#."}));
}

TEST_F(DrawingStateTest, WriteModeValidation) {
  Open(3, 4);
  for (int16_t mode : {0, 15, 16, 17, 31}) {
    SetWriteMode(mode);
    EXPECT_EQ(CanvasStatus(), kStatusOk) << mode;
  }
  for (int16_t mode : {-1, -16, 32, 47, -32768}) {
    SetWriteMode(mode);
    EXPECT_EQ(CanvasStatus(), kStatusOutOfRange) << mode;
  }
}

TEST_F(DrawingStateTest, StyleValidation) {
  Open(3, 4);
  SetLineStyle(7, 0, 1);
  EXPECT_EQ(CanvasStatus(), kStatusOutOfRange);
  SetLineStyle(6, 0, 65535);
  EXPECT_EQ(CanvasStatus(), kStatusOk);
  SetFillStyle(10, 1);
  EXPECT_EQ(CanvasStatus(), kStatusOutOfRange);
  SetFillStyle(-1, 1);
  EXPECT_EQ(CanvasStatus(), kStatusOutOfRange);
  EXPECT_EQ(CurrentDrawingState().fill_style, 1);
  SetTextJustify(1, 3);
  EXPECT_EQ(CanvasStatus(), kStatusOutOfRange);
  EXPECT_EQ(CurrentDrawingState().text_horizontal, 0);
}

TEST_F(DrawingStateTest, PenColourIsStoredEvenWhenClosed) {
  SetPenColour(77);
  EXPECT_EQ(CanvasStatus(), kStatusNotOpen);
  EXPECT_EQ(CurrentDrawingState().pen_colour, 77u);
  Open(3, 4);
  EXPECT_EQ(CurrentDrawingState().pen_colour, PredefinedColours[250]);
}

TEST_F(DrawingStateTest, FontTable) {
  Open(3, 4);
  EXPECT_EQ(InstallFont("Arial"), 4);
  EXPECT_EQ(InstallFont("DejaVu Sans"), 5);
  EXPECT_EQ(InstallFont("No Such Face Anywhere"), -1);
  EXPECT_EQ(CanvasStatus(), kStatusNoFont);
  SetTextStyle(6, 0, 16);
  EXPECT_EQ(CanvasStatus(), kStatusEmptyFontSlot);
  SetTextStyle(0x1011, 90, 2);
  EXPECT_EQ(CanvasStatus(), kStatusOk);
  EXPECT_EQ(CurrentDrawingState().font_word, 0x1011);
  SetTextStyle(15, 0, 16);
  EXPECT_EQ(CanvasStatus(), kStatusEmptyFontSlot);
  EXPECT_EQ(CurrentDrawingState().font_word, 0x1011);
  for (int slot = 6; slot < 15; ++slot)
    EXPECT_EQ(InstallFont("Courier New"), slot);
  EXPECT_EQ(InstallFont("Courier New"), -1);
  EXPECT_EQ(CanvasStatus(), kStatusNoFont);
  CloseCanvas();
  Open(3, 4);
  EXPECT_EQ(InstallFont("Arial"), 4);  // refilled at every opening
}

TEST_F(DrawingStateTest, ExtremeArgumentsAreHarmless) {
  Open(3, 4);
  SetView(-32768, -32768, 32767, 32767, true);
  SetFillStyle(1, 9);
  FillBar(-32768, -32768, 32767, 32767);  // the origin wraps the corners to 0 and -1: empty
  EXPECT_EQ(PageValue(0, 639, 479), 0u);
  SetView(0, 0, 32767, 32767, true);
  FillBar(-32768, -32768, 32767, 32767);
  EXPECT_EQ(PageValue(0, 639, 479), 9u);
  SetView(30000, 30000, 32767, 32767, false);
  FillBar(0, 0, 32767, 32767);  // wraps below zero, an empty bar after the exchange
  PlotPixel(32767, 32767, 5);
  EXPECT_EQ(ReadPixel(-32768, -32768), 15u);  // nearest entry to the invalid colour
  SetLineStyle(0, 0xFFFF, 65535);
  SetAspectRatio(0, 65535);
  SetTextStyle(0xFFF0, 65535, 65535);
  EXPECT_EQ(CanvasStatus(), kStatusOk);
}

}  // namespace
}  // namespace lumivex::testing
