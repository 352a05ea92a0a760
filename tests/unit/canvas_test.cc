// Opening and closing the canvas: the driver and mode tables, window geometry, status codes,
// the window thread's life.
#include <lumivex/lumivex.h>

#include "canvas_fixture.h"
#include "platform/messages.h"

namespace lumivex::testing {
namespace {

// The headless screen is 1280 x 1024 with fw = 6, fh = 29 (LUMIVEX_SCREEN may change it).
struct GeometryCase {
  int16_t driver, mode;
  int32_t client_width, client_height;
  int32_t x, y;
  uint32_t style;
};

class GeometryTest : public CanvasTest, public ::testing::WithParamInterface<GeometryCase> {};

TEST_P(GeometryTest, ClientSizePositionAndStyle) {
  const GeometryCase& c = GetParam();
  Open(c.driver, c.mode);
  const WindowPlacement p = Placement();
  EXPECT_EQ(p.client_width, c.client_width);
  EXPECT_EQ(p.client_height, c.client_height);
  EXPECT_EQ(p.x, c.x);
  EXPECT_EQ(p.y, c.y);
  EXPECT_EQ(p.style, c.style);
  EXPECT_EQ(MaxX(), c.client_width - 1);
  EXPECT_EQ(MaxY(), c.client_height - 1);
  EXPECT_EQ(CanvasStatus(), kStatusNoOpenGL);
}

INSTANTIATE_TEST_SUITE_P(ModeTable, GeometryTest,
                         ::testing::Values(
                             // Framed and centred: (1280 - 646) / 2, (1024 - 509) / 2.
                             GeometryCase{3, 4, 640, 480, 317, 257, kStyleCaptionWindow},
                             GeometryCase{9, 6, 800, 600, 237, 197, kStyleCaptionWindow},
                             GeometryCase{1, 1, 320, 200, 477, 397, kStyleCaptionWindow},
                             GeometryCase{2, 5, 720, 350, 277, 322, kStyleCaptionWindow},
                             // 1280 x 1024 plus frame does not fit: frameless at (0, 0).
                             GeometryCase{3, 8, 1280, 1024, 0, 0, kStylePopup},
                             // The framed window covering the screen exactly.
                             GeometryCase{3, 11, 1274, 995, 0, 0, kStyleCaptionWindow},
                             // The screen, frameless.
                             GeometryCase{3, 12, 1280, 1024, 0, 0, kStylePopup}));

TEST_F(CanvasTest, DriverZeroDetectsTrueColourWithTheSystemsPlacement) {
  int16_t driver = 0, mode = 3;
  OpenCanvas(driver, mode, "detect");
  ASSERT_TRUE(CanvasIsOpen());
  EXPECT_EQ(driver, 9);
  EXPECT_EQ(mode, 10);
  const WindowPlacement p = Placement();
  EXPECT_EQ(p.outer_width, 960);
  EXPECT_EQ(p.outer_height, 768);
  EXPECT_EQ(p.client_width, 954);
  EXPECT_EQ(p.style, kStyleCaptionWindow);
}

struct RefusedCase {
  int16_t driver, mode;
  int16_t status;
};

class RefusedTest : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedTest, NoThreadNoCanvas) {
  const int threads = ProcessThreadCount();
  int16_t driver = GetParam().driver, mode = GetParam().mode;
  OpenCanvas(driver, mode, "refused");
  EXPECT_EQ(CanvasStatus(), GetParam().status);
  EXPECT_FALSE(CanvasIsOpen());
  EXPECT_EQ(ProcessThreadCountSettlingAt(threads), threads);
}

INSTANTIATE_TEST_SUITE_P(
    StatusCodes, RefusedTest,
    ::testing::Values(RefusedCase{4, 4, kStatusBadDriver}, RefusedCase{-1, 6, kStatusBadDriver},
                      RefusedCase{3, 9, kStatusBadMode},
                      RefusedCase{4, 9, kStatusBadMode},  // mode first
                      RefusedCase{3, 0, kStatusBadMode}, RefusedCase{3, -5, kStatusBadMode},
                      RefusedCase{3, 13, kStatusBadMode}, RefusedCase{9, 14, kStatusBadMode}));

TEST_F(CanvasTest, SecondOpeningIsRefusedAndLeavesTheCallersVariables) {
  Open(3, 4);
  int16_t driver = 0, mode = 12;
  OpenCanvas(driver, mode, "again");
  EXPECT_EQ(CanvasStatus(), kStatusAlreadyOpen);
  EXPECT_EQ(driver, 0);
  EXPECT_EQ(mode, 12);
  EXPECT_TRUE(CanvasIsOpen());
  EXPECT_EQ(MaxX(), 639);
}

TEST_F(CanvasTest, CloseTwiceThenReopenGivesAFreshCanvas) {
  Open(3, 4);
  SetDrawPage(2);
  PlotPixel(5, 5, 9);
  SetBackColour(3);
  CloseCanvas();
  EXPECT_EQ(CanvasStatus(), kStatusOk);
  EXPECT_FALSE(CanvasIsOpen());
  CloseCanvas();
  EXPECT_EQ(CanvasStatus(), kStatusNotOpen);
  // Values that outlive the canvas.
  EXPECT_EQ(MaxX(), 639);
  EXPECT_EQ(MaxY(), 479);

  Open(9, 1);
  EXPECT_EQ(MaxX(), 319);
  EXPECT_EQ(PageValue(2, 5, 5), 0u);
  EXPECT_EQ(CurrentDrawingState().back_colour, PredefinedColours[12]);
}

TEST_F(CanvasTest, Title) {
  Open(3, 4, "");
  EXPECT_EQ(WindowTitle(), "Lumivex 1.1");
  CloseCanvas();
  const std::string long_title(300, 'x');
  Open(3, 4, long_title.c_str());
  EXPECT_EQ(WindowTitle(), std::string(255, 'x'));
}

TEST(CanvasLifeTest, OperationsWithoutACanvasReportNotOpen) {
  ASSERT_FALSE(CanvasIsOpen());
  PlotPixel(1, 1, 1);
  EXPECT_EQ(CanvasStatus(), kStatusNotOpen);
  EXPECT_EQ(ReadPixel(1, 1), 0u);
  EXPECT_EQ(CanvasStatus(), kStatusNotOpen);
  FillBar(0, 0, 5, 5);
  EXPECT_EQ(CanvasStatus(), kStatusNotOpen);
  SetDrawPage(1);
  EXPECT_EQ(CanvasStatus(), kStatusNotOpen);
  EXPECT_EQ(InstallFont("Arial"), -1);
  EXPECT_EQ(CanvasStatus(), kStatusNotOpen);
  SelectGLTarget(true);
  EXPECT_EQ(CanvasStatus(), kStatusNoOpenGL);
}

TEST(CanvasLifeTest, OpenCloseCyclesLeaveNoThreadBehind) {
  const int threads = ProcessThreadCount();
  for (int i = 0; i < 8; ++i) {
    int16_t driver = 3, mode = 4;
    OpenCanvas(driver, mode, "cycle");
    ASSERT_TRUE(CanvasIsOpen());
    EXPECT_EQ(ProcessThreadCount(), threads + 1);
    CloseCanvas();
    EXPECT_EQ(ProcessThreadCountSettlingAt(threads), threads);
  }
}

TEST_F(CanvasTest, CloseButtonQueuesAKeyAndTheWindowStays) {
  Open(3, 4);
  ASSERT_TRUE(SendToWindow(kMsgClose, 0, 0));
  EXPECT_TRUE(CanvasIsOpen());
  ASSERT_TRUE(KeyWaiting());
  EXPECT_EQ(NextKey(), 0);
  EXPECT_EQ(NextKey(), 107);
}

}  // namespace
}  // namespace lumivex::testing
