// Open, draw and close the canvas many times while another thread floods the window with keys,
// mouse messages and close-button presses, also while the canvas is opening and closing. The
// status must tell the truth at every step, and nothing may be left behind.
#include <lumivex/lumivex.h>
#include <lumivex/random.h>

#include <atomic>
#include <thread>

#include "canvas_fixture.h"
#include "input_injection.h"
#include "platform/messages.h"

namespace lumivex::testing {
namespace {

class InputFlood {
 public:
  InputFlood() : thread_([this] { Run(); }) {}
  ~InputFlood() {
    stop_.store(true);
    thread_.join();
  }
  int64_t sent() const { return sent_.load(); }

 private:
  void Run() {
    uint32_t n = 0;
    while (!stop_.load()) {
      ++n;
      bool sent = false;
      switch (n % 4) {
        case 0:
          sent = InjectMessages({{kMsgKeyDown, kVkA + n % 26, 1}, {kMsgKeyUp, kVkA + n % 26, 1}});
          break;
        case 1:
          sent = InjectMessages({{kMsgSysKeyDown, kVkAlt, 1u << 29},
                                 {kMsgSysKeyDown, kVkF1 + n % 12, 1u << 29},
                                 {kMsgSysKeyUp, kVkAlt, 1u << 29}});
          break;
        case 2:
          sent = InjectMouse(static_cast<int32_t>(n % 900) - 50, static_cast<int32_t>(n % 700),
                             n & (kMkLeftButton | kMkRightButton | kMkControl));
          break;
        default:
          sent = InjectClose();
          break;
      }
      if (sent) sent_.fetch_add(1);
    }
  }

  std::atomic<bool> stop_{false};
  std::atomic<int64_t> sent_{0};
  std::thread thread_;
};

void DrawSomething(int cycle) {
  SetDrawPage(static_cast<uint16_t>(cycle % 3));
  for (int i = 0; i < 200; ++i) {
    PlotPixel(static_cast<int16_t>(RandomBelow(900) - 50), static_cast<int16_t>(RandomBelow(700)),
              static_cast<Colour>(RandomBelow(1 << 24)));
  }
  SetFillStyle(static_cast<int16_t>(cycle % 10), static_cast<Colour>(cycle));
  FillBar(static_cast<int16_t>(cycle), 5, 300, static_cast<int16_t>(400 - cycle));
  SetShowPage(static_cast<uint16_t>(cycle % 2));
  ReadPixel(10, 10);
  if (KeyWaiting()) NextKey();
}

TEST(StressTest, OpenDrawCloseUnderAFloodOfInput) {
  SeedRandom(7);
  InputFlood flood;
  const int16_t drivers[] = {3, 9, 1, 2};
  const int16_t modes[] = {4, 6, 1, 12};
  for (int cycle = 0; cycle < 200; ++cycle) {
    int16_t driver = drivers[cycle % 4], mode = modes[cycle % 4];
    OpenCanvas(driver, mode, "stress");
    ASSERT_EQ(CanvasStatus(), kStatusNoOpenGL) << cycle;
    ASSERT_TRUE(CanvasIsOpen());
    DrawSomething(cycle);
    ASSERT_EQ(CanvasStatus(), kStatusOk) << cycle;
    // The effects program's pattern: a key test, then closing at once.
    KeyWaiting();
    CloseCanvas();
    ASSERT_EQ(CanvasStatus(), kStatusOk) << cycle;
    ASSERT_FALSE(CanvasIsOpen());
    PlotPixel(0, 0, 1);
    ASSERT_EQ(CanvasStatus(), kStatusNotOpen);
    EXPECT_EQ(NextKey(), 0);
  }
  EXPECT_GT(flood.sent(), 200);
  std::printf("stress: 200 cycles, %lld input events delivered\n",
              static_cast<long long>(flood.sent()));
  // No window thread is left behind. (The process may have other threads by now: the flood's,
  // and a sanitizer's own; a joined thread leaves /proc a moment after its join.)
  int window_threads = LibraryThreadCount("lumivex-window");
  for (int i = 0; i < 100 && window_threads != 0; ++i) {
    Pause(10);
    window_threads = LibraryThreadCount("lumivex-window");
  }
  EXPECT_EQ(window_threads, 0);
}

}  // namespace
}  // namespace lumivex::testing
