// Real windows on a private X server: the window's size, place and title, key codes from real
// key presses, the close request, mouse positions, what the window shows against the window
// surface, page flips never shown half copied, and eight windows opened and closed in a row.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "support/program_runner.h"
#include "x_session.h"

namespace lumivex::testing {
namespace {

class XServer : public ::testing::Environment {
 public:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(StartXServer(&error)) << error;
  }
  void TearDown() override { StopXServer(); }
};

const auto* const kXServer = ::testing::AddGlobalTestEnvironment(new XServer);

// Sends a shell-quoted xdotool command.
void Xdotool(const std::string& arguments) {
  int status = 0;
  Shell("xdotool " + arguments, &status);
  EXPECT_EQ(status, 0) << "xdotool " << arguments;
}

std::string Quoted(const std::string& text) {
  return "'" + text + "'";
}

// What the X server shows in the window, read back with ImageMagick's import.
bool Capture(unsigned long window, const std::string& path, Picture* picture) {
  int status = 0;
  Shell("import -window " + std::to_string(window) + " png:" + Quoted(path), &status);
  return status == 0 && ReadPng(path, picture);
}

// Compares a capture of the window with the surface, each surface pixel shown scale x scale;
// "" when they agree.
std::string Difference(const Picture& shown, const Picture& surface, int scale) {
  if (shown.width != surface.width * scale || shown.height != surface.height * scale) {
    return "the window shows " + std::to_string(shown.width) + "x" + std::to_string(shown.height) +
           " for a " + std::to_string(surface.width) + "x" + std::to_string(surface.height) +
           " surface at scale " + std::to_string(scale);
  }
  for (int32_t y = 0; y < shown.height; ++y) {
    for (int32_t x = 0; x < shown.width; ++x) {
      if (shown.At(x, y) != surface.At(x / scale, y / scale)) {
        std::ostringstream out;
        out << std::hex << "first difference at window pixel (" << std::dec << x << ", " << y
            << "): shown " << std::hex << shown.At(x, y) << ", surface "
            << surface.At(x / scale, y / scale);
        return out.str();
      }
    }
  }
  return "";
}

// Captures until the window shows the surface (a present follows a change within a display
// refresh; the limit is generous for a loaded machine). The last difference, or "".
std::string WaitUntilShown(unsigned long window, const Picture& surface, int scale,
                           const std::string& path) {
  std::string difference = "no capture";
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (std::chrono::steady_clock::now() < deadline) {
    Picture shown;
    if (Capture(window, path, &shown)) {
      difference = Difference(shown, surface, scale);
      if (difference.empty()) break;
    }
  }
  return difference;
}

// ---------------------------------------------------------------------------------------------

struct OpenCase {
  const char* name;
  int driver, mode;
  const char* scale;  // LUMIVEX_SCALE, "" for none
  int max_x, max_y;
  WindowGeometry window;  // of the client area, on the 1600 x 1200 screen; x -1: any place
  int shown_scale;
};

class RealWindowTest : public ::testing::TestWithParam<OpenCase> {};

TEST_P(RealWindowTest, OpensWithItsTitleSizeAndPlaceAndShowsTheSurface) {
  const OpenCase& c = GetParam();
  Probe probe(Environment{{"LUMIVEX_SCALE", c.scale}});
  const std::string title = std::string("WINDOW ") + c.name;
  probe.Send("open " + std::to_string(c.driver) + " " + std::to_string(c.mode) + " " + title);
  // -9: OpenGL is not offered; the canvas is open.
  EXPECT_EQ(probe.WaitFor("opened"),
            "opened -9 " + std::to_string(c.max_x) + " " + std::to_string(c.max_y))
      << probe.errors();
  const unsigned long window = FindWindow(title);
  ASSERT_NE(window, 0u) << "no window titled " << title;
  const WindowGeometry g = GeometryOf(window);
  EXPECT_EQ(g.width, c.window.width);
  EXPECT_EQ(g.height, c.window.height);
  if (c.window.x >= 0) {
    EXPECT_EQ(g.x, c.window.x);
    EXPECT_EQ(g.y, c.window.y);
  }

  // The picture: a page flip, then drawing straight into the window.
  const std::string surface_path = probe.directory() + "/surface.png";
  probe.Send("save " + surface_path);
  ASSERT_EQ(probe.WaitFor("saved"), "saved");
  Picture surface;
  ASSERT_TRUE(ReadPng(surface_path, &surface));
  EXPECT_EQ(WaitUntilShown(window, surface, c.shown_scale, probe.directory() + "/shown.png"), "");
  EXPECT_EQ(probe.Finish(), 0) << probe.errors();
}

// Framed windows are centred with the classic frame allowances (no window manager runs, so no
// frame is drawn): x = (1600 - (w + 6)) / 2, y = (1200 - (h + 29)) / 2.
INSTANTIATE_TEST_SUITE_P(
    Windows, RealWindowTest,
    ::testing::Values(OpenCase{"Palette640", 3, 4, "", 639, 479, {477, 345, 640, 480}, 1},
                      OpenCase{"TrueColour800", 9, 6, "", 799, 599, {397, 285, 800, 600}, 1},
                      // Driver 0: true colour with the system's placement, 3/4 of the screen.
                      OpenCase{"SystemPlaced", 0, 3, "", 1193, 870, {-1, -1, 1194, 871}, 1},
                      OpenCase{"Screen", 3, 12, "", 1599, 1199, {0, 0, 1600, 1200}, 1},
                      OpenCase{"Scaled", 3, 4, "2", 639, 479, {157, 105, 1280, 960}, 2},
                      // Twice the screen does not fit: shown at scale 1.
                      OpenCase{"ScreenScaled", 9, 12, "2", 1599, 1199, {0, 0, 1600, 1200}, 1}),
    [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------------------------

// The codes a key press queues, read up to the marker key z (122) pressed after it.
std::vector<int> CodesOf(Probe& probe, const std::string& keys) {
  Xdotool("key " + keys + " z");
  std::vector<int> codes;
  for (;;) {
    const std::string line = probe.WaitFor("key ");
    if (line.empty()) {
      codes.push_back(-1);  // the marker never came
      return codes;
    }
    const int code = std::stoi(line.substr(4));
    if (code == 122) return codes;
    codes.push_back(code);
  }
}

TEST(RealKeyboard, KeysQueueTheirCodes) {
  Probe probe;
  probe.Send("open 3 4 KEYS");
  ASSERT_EQ(probe.WaitFor("opened").substr(0, 9), "opened -9");
  ASSERT_NE(FindWindow("KEYS"), 0u);
  struct KeyCase {
    const char* keys;  // xdotool key names
    std::vector<int> codes;
  };
  const KeyCase cases[] = {
      {"a", {97}},           {"shift+a", {65}},
      {"Escape", {27}},      {"Return", {13}},
      {"BackSpace", {8}},    {"Tab", {9}},
      {"ctrl+Tab", {30}},    {"ctrl+a", {1}},
      {"space", {32}},       {"Up", {0, 72}},
      {"ctrl+Up", {0, 141}}, {"alt+Up", {0, 152}},
      {"shift+Up", {0, 72}}, {"F1", {0, 59}},
      {"shift+F1", {0, 84}}, {"shift+ctrl+F1", {0, 84}},
      {"alt+x", {0, 45}},    {"alt+Return", {0, 166}},
      {"alt+F4", {0, 107}},  {"ctrl+alt+5", {0, 5, 0, 124}},
      {"KP_Begin", {0, 76}}, {"shift", {}},
      {"ctrl", {}},          {"alt", {}},
      {"Print", {}},
  };
  for (const KeyCase& c : cases)
    EXPECT_EQ(CodesOf(probe, c.keys), c.codes) << c.keys;

  // Print Screen saved the window without a code.
  Picture saved;
  EXPECT_TRUE(ReadPng(probe.directory() + "/lumivex-KEYS-1.png", &saved));
  EXPECT_EQ(saved.width, 640);
  EXPECT_EQ(saved.height, 480);
  EXPECT_EQ(probe.Finish(), 0) << probe.errors();
}

TEST(RealWindow, CloseRequestQueuesZeroAndCloseCodeAndTheWindowStays) {
  Probe probe;
  probe.Send("open 3 4 CLOSE ME");
  ASSERT_EQ(probe.WaitFor("opened").substr(0, 9), "opened -9");
  const unsigned long window = FindWindow("CLOSE ME");
  ASSERT_NE(window, 0u);
  ASSERT_TRUE(RequestClose(window));
  EXPECT_EQ(probe.WaitFor("key "), "key 0");
  EXPECT_EQ(probe.WaitFor("key "), "key 107");
  // Still there, and still taking keys.
  EXPECT_EQ(CodesOf(probe, "b"), std::vector<int>{98});
  EXPECT_EQ(FindWindow("CLOSE ME", std::chrono::milliseconds(0)), window);
  EXPECT_EQ(probe.Finish(), 0) << probe.errors();
}

// ---------------------------------------------------------------------------------------------

class RealMouseTest : public ::testing::TestWithParam<int> {};

TEST_P(RealMouseTest, PositionsInCanvasPixelsAndButtonBits) {
  const int scale = GetParam();
  Probe probe(Environment{{"LUMIVEX_SCALE", std::to_string(scale)}});
  probe.Send("open 3 4 MOUSE");
  ASSERT_EQ(probe.WaitFor("opened").substr(0, 9), "opened -9");
  const unsigned long window = FindWindow("MOUSE");
  ASSERT_NE(window, 0u);
  const std::string id = std::to_string(window);
  // The pointer on a canvas pixel: inside the scale x scale block that shows it.
  const auto move = [&](int x, int y) {
    Xdotool("mousemove --window " + id + " " + std::to_string(x * scale + scale / 2) + " " +
            std::to_string(y * scale + scale / 2));
  };

  move(10, 20);
  EXPECT_EQ(probe.WaitFor("mouse 10 20 "), "mouse 10 20 0");
  Xdotool("mousedown 1");
  EXPECT_EQ(probe.WaitFor("mouse "), "mouse 10 20 1");
  Xdotool("mouseup 1");
  EXPECT_EQ(probe.WaitFor("mouse "), "mouse 10 20 0");
  Xdotool("keydown ctrl mousedown 1");
  EXPECT_EQ(probe.WaitFor("mouse "), "mouse 10 20 17");
  Xdotool("mouseup 1");
  EXPECT_EQ(probe.WaitFor("mouse "), "mouse 10 20 16");
  Xdotool("keyup ctrl mousedown 3");
  EXPECT_EQ(probe.WaitFor("mouse "), "mouse 10 20 2");
  Xdotool("mouseup 3");
  EXPECT_EQ(probe.WaitFor("mouse "), "mouse 10 20 0");
  move(639, 479);
  EXPECT_EQ(probe.WaitFor("mouse 639 479 "), "mouse 639 479 0");

  // The wheel reports the pointer in screen coordinates.
  const WindowGeometry g = GeometryOf(window);
  Xdotool("click 4");
  EXPECT_EQ(probe.WaitFor("mouse "), "mouse " + std::to_string(g.x + 639 * scale + scale / 2) +
                                         " " + std::to_string(g.y + 479 * scale + scale / 2) +
                                         " 0");
  EXPECT_EQ(probe.Finish(), 0) << probe.errors();
}

INSTANTIATE_TEST_SUITE_P(Scales, RealMouseTest, ::testing::Values(1, 2));

// ---------------------------------------------------------------------------------------------

TEST(RealWindow, FlippedPagesAreNeverShownHalfCopied) {
  Probe probe;
  probe.Send("open 9 1 FLICKER");
  ASSERT_EQ(probe.WaitFor("opened").substr(0, 9), "opened -9");
  const unsigned long window = FindWindow("FLICKER");
  ASSERT_NE(window, 0u);
  probe.Send("flicker 3000");
  // Every capture while the pages alternate shows one page whole: all red or all blue.
  const uint32_t red = FromHex(0xFF0000), blue = FromHex(0x0000FF);
  int whole = 0;
  const std::string path = probe.directory() + "/shown.png";
  while (probe.NextLine(std::chrono::milliseconds(0)) != "flickered") {
    Picture shown;
    ASSERT_TRUE(Capture(window, path, &shown));
    const uint32_t first = shown.At(0, 0);
    if (first != red && first != blue) continue;  // the flicker has not begun
    for (uint32_t pixel : shown.pixels) {
      ASSERT_EQ(pixel, first) << "a page shown half copied; see " << path;
    }
    ++whole;
  }
  EXPECT_GE(whole, 3) << "too few captures while the pages alternated";
  EXPECT_EQ(probe.Finish(), 0) << probe.errors();
}

TEST(RealWindow, EightWindowsInARowLeaveNoThreadAndNoWindowBehind) {
  Probe probe;
  const std::string start = probe.WaitFor("threads ");
  ASSERT_FALSE(start.empty());
  const std::string threads = start.substr(8);
  for (int i = 1; i <= 8; ++i) {
    const std::string title = "EFECT " + std::to_string(i);
    probe.Send("open 3 4 " + title);
    ASSERT_EQ(probe.WaitFor("opened").substr(0, 9), "opened -9") << title;
    EXPECT_NE(FindWindow(title), 0u) << title;
    probe.Send("close");
    EXPECT_EQ(probe.WaitFor("closed"), "closed 0 " + threads) << title;
  }
  int status = 0;
  EXPECT_EQ(Shell("xdotool search --name EFECT", &status), "");
  // A program that ends with its canvas open has it closed on the way out.
  probe.Send("open 3 4 LAST");
  ASSERT_EQ(probe.WaitFor("opened").substr(0, 9), "opened -9");
  probe.Send("quit");
  EXPECT_EQ(probe.Finish(), 0) << probe.errors();
}

TEST(RealWindow, TheScriptDrivesARealWindow) {
  const std::string dir = TestDirectory();
  const std::string script_path = dir + "/probe.script";
  std::ofstream(script_path) << "wait opens 1\nwait polls 1\nshot " << dir
                             << "/shot.png\nkey Alt+x\nkey a\n";
  Probe probe(Environment{{"LUMIVEX_SCRIPT", script_path}});
  probe.Send("open 3 4 SCRIPTED");
  EXPECT_EQ(probe.WaitFor("key "), "key 0");
  EXPECT_EQ(probe.WaitFor("key "), "key 45");
  EXPECT_EQ(probe.WaitFor("key "), "key 97");
  const unsigned long window = FindWindow("SCRIPTED");
  ASSERT_NE(window, 0u);
  Picture shot;
  ASSERT_TRUE(ReadPng(dir + "/shot.png", &shot));
  EXPECT_EQ(WaitUntilShown(window, shot, 1, dir + "/shown.png"), "");
  EXPECT_EQ(probe.Finish(), 0) << probe.errors();
}

// ---------------------------------------------------------------------------------------------

struct NoDisplayCase {
  const char* name;
  const char* backend;  // LUMIVEX_BACKEND, "" for none
  const char* display;  // DISPLAY, "" for none
  const char* opened;   // the probe's report
  const char* message;  // in its standard error
};

class NoDisplayTest : public ::testing::TestWithParam<NoDisplayCase> {};

TEST_P(NoDisplayTest, WindowFailsOrRunsHeadless) {
  const NoDisplayCase& c = GetParam();
  Probe probe(Environment{{"LUMIVEX_BACKEND", c.backend}, {"DISPLAY", c.display}});
  probe.Send("open 3 4 NOWHERE");
  EXPECT_EQ(probe.WaitFor("opened").substr(0, 9), c.opened);
  EXPECT_NE(probe.errors().find(c.message), std::string::npos) << probe.errors();
  EXPECT_EQ(probe.Finish(), 0) << probe.errors();
}

INSTANTIATE_TEST_SUITE_P(
    Backends, NoDisplayTest,
    ::testing::Values(
        NoDisplayCase{"SdlAskedNoDisplay", "sdl", "", "opened -4", "no window can be opened"},
        NoDisplayCase{"SdlAskedBadDisplay", "sdl", ":9999", "opened -4", "no window can be opened"},
        NoDisplayCase{"ChosenNoDisplay", "", "", "opened -9", "running headless"},
        NoDisplayCase{"ChosenBadDisplay", "", ":9999", "opened -9", "running headless"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace lumivex::testing
