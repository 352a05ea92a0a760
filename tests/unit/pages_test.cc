// Pages, the page on show, the palette and pixels.
#include "canvas_fixture.h"
#include "support/program_runner.h"

namespace lumivex::testing {
namespace {

using PagesTest = CanvasTest;

TEST_F(PagesTest, AHiddenPageShowsOnlyOnceItIsShown) {
  Open(3, 4);
  SetDrawPage(1);
  PlotPixel(10, 20, 4);
  EXPECT_EQ(PageValue(1, 10, 20), 4u);
  EXPECT_EQ(SurfaceRgb(10, 20), 0u);
  SetShowPage(1);
  EXPECT_EQ(SurfaceRgb(10, 20), FromHex(0xA80000));
}

TEST_F(PagesTest, APixelOnThePageOnShowAppearsWithoutRepaint) {
  Open(3, 4);
  PlotPixel(3, 4, 2);
  // Read the surface directly: no painting is pending.
  EXPECT_EQ(SurfaceRgb(3, 4), FromHex(0x00A800));
  EXPECT_EQ(PageValue(0, 3, 4), 2u);
}

TEST_F(PagesTest, PageNumbersOutsideTheRangeMeanPageZero) {
  Open(3, 4);
  SetDrawPage(2);
  SetDrawPage(7);
  EXPECT_EQ(CanvasStatus(), kStatusOk);
  PlotPixel(0, 0, 1);
  EXPECT_EQ(PageValue(0, 0, 0), 1u);
  SetDrawPage(static_cast<uint16_t>(-1));
  PlotPixel(1, 0, 1);
  EXPECT_EQ(PageValue(0, 1, 0), 1u);
}

TEST_F(PagesTest, ColourValuesWrapModuloThePaletteAndReadBackAsTheNearestEntry) {
  Open(3, 4);
  PlotPixel(5, 5, 260);
  EXPECT_EQ(PageValue(0, 5, 5), 4u);
  EXPECT_EQ(ReadPixel(5, 5), 4u);
  // Entries 15 and 31 both hold FCFCFC: the lowest index comes back.
  PlotPixel(6, 5, 31);
  EXPECT_EQ(ReadPixel(6, 5), 15u);
  // Outside the page.
  EXPECT_EQ(ReadPixel(-1, 0), 15u);  // the nearest entry to the invalid colour (white)
}

TEST_F(PagesTest, TrueColourPixelsAndTheInvalidColour) {
  Open(9, 1);
  PlotPixel(2, 2, 0x123456);
  EXPECT_EQ(ReadPixel(2, 2), 0x123456u);
  EXPECT_EQ(ReadPixel(320, 0), 0xFFFFFFFFu);
  EXPECT_EQ(ReadPixel(0, -1), 0xFFFFFFFFu);
  EXPECT_EQ(ColourFromRGB(255, 128, 0), 0x0080FFu);
  EXPECT_EQ(ColourFromRGB(0, 256, 0), 0x010000u);
  EXPECT_EQ(ColourFromRGB(300, 0, 511), 0xFF002Cu);
}

TEST_F(PagesTest, DriverOneIsBlackAndWhite) {
  Open(1, 1);
  PlotPixel(0, 0, 3);
  EXPECT_EQ(PageValue(0, 0, 0), 1u);
  EXPECT_EQ(SurfaceRgb(0, 0), 0xFFFFFFu);
  EXPECT_EQ(LogicalPaletteCount(), 2);
}

TEST_F(PagesTest, DriverTwoGetsSixteenDefaultColours) {
  Open(2, 1);
  EXPECT_EQ(LogicalPaletteCount(), 16);
  PlotPixel(0, 0, 17);
  EXPECT_EQ(PageValue(0, 0, 0), 1u);
  EXPECT_EQ(SurfaceRgb(0, 0), FromHex(0x0000A8));
}

TEST_F(PagesTest, InstallPaletteWithFewerEntries) {
  Open(3, 4);
  PaletteRecord record;
  GetDefaultPalette(record);
  ASSERT_EQ(record.count, 256);
  record.count = 16;
  record.entries[0] = PaletteEntry{1, 2, 3, 99};
  InstallPalette(record);
  EXPECT_EQ(CanvasStatus(), kStatusOk);
  EXPECT_EQ(LogicalPaletteCount(), 16);
  EXPECT_EQ(ColourTableEntry(16), FromHex(0x010203));
  EXPECT_EQ(ColourTableEntry(255), FromHex(0x010203));
  PlotPixel(0, 0, 18);  // 18 mod 16
  EXPECT_EQ(PageValue(0, 0, 0), 2u);

  record.count = 257;
  InstallPalette(record);
  EXPECT_EQ(CanvasStatus(), kStatusOutOfRange);
  record.count = 0;
  InstallPalette(record);
  EXPECT_EQ(CanvasStatus(), kStatusOutOfRange);
  EXPECT_EQ(LogicalPaletteCount(), 16);
}

TEST_F(PagesTest, SetPaletteRgbRecoloursThePageOnShowButNotAPageShownLater) {
  Open(3, 4);
  PlotPixel(1, 1, 5);
  SetDrawPage(1);
  PlotPixel(1, 1, 5);  // page 1's colour table is now the default palette
  SetDrawPage(0);
  SetPaletteRGB(5, 10, 20, 30);
  EXPECT_EQ(CanvasStatus(), kStatusOk);
  EXPECT_EQ(SurfaceRgb(1, 1), FromHex(0x0A141E));
  SetShowPage(1);
  EXPECT_EQ(SurfaceRgb(1, 1), FromHex(0xA800A8));

  SetPaletteRGB(256, 0, 0, 0);
  EXPECT_EQ(CanvasStatus(), kStatusOutOfRange);
}

TEST_F(PagesTest, PaletteOperationsInTrueColour) {
  Open(9, 1);
  SetPaletteRGB(256, 0, 0, 0);
  EXPECT_EQ(CanvasStatus(), kStatusNotPalette);
  PaletteRecord record;
  GetDefaultPalette(record);
  EXPECT_EQ(record.count, 256);
  InstallPalette(record);
  EXPECT_EQ(CanvasStatus(), kStatusNotPalette);
}

TEST_F(PagesTest, PredefinedColoursAfterOpening) {
  Open(3, 4);
  EXPECT_TRUE(PredefinedColours[250] == 15 || PredefinedColours[250] == 31);
  const Colour black = PredefinedColours[12];
  EXPECT_EQ(LogicalPaletteEntry(static_cast<int>(black)), 0u);
  SetPaletteRGB(15, 1, 1, 1);  // not remapped by SetPaletteRGB
  EXPECT_TRUE(PredefinedColours[250] == 15 || PredefinedColours[250] == 31);
  CloseCanvas();
  Open(9, 6);
  EXPECT_EQ(PredefinedColours[250], 0xFFFFFFu);
  EXPECT_EQ(PredefinedColours[105], FromHex(0x008000));
  CloseCanvas();
  EXPECT_EQ(PredefinedColours[131], FromHex(0xFF8080));  // kept after closing
  EXPECT_EQ(ColourFromRGB(0, 256, 0), 0x010000u);        // palette mode is off
}

TEST_F(PagesTest, CoordinatesWrapAtSixteenBitsWithTheOrigin) {
  Open(3, 4);
  SetView(100, 0, 200, 10, false);
  PlotPixel(-100, 0, 7);
  EXPECT_EQ(PageValue(0, 0, 0), 7u);
  PlotPixel(32767, 0, 7);  // 100 + 32767 wraps to -32669: dropped
  EXPECT_EQ(CanvasStatus(), kStatusOk);
}

}  // namespace
}  // namespace lumivex::testing
