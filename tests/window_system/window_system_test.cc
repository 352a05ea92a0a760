// Our window system's message loop: the order in which it hands messages out, painting, and a
// window's destruction.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "platform/messages.h"
#include "platform/window_system.h"

namespace lumivex {
namespace {

std::vector<uint32_t>* g_received = nullptr;  // the window thread's record

int32_t RecordingProcedure(Window*, uint32_t message, uint32_t, uint32_t) {
  g_received->push_back(message);
  if (message == kMsgDestroy) PostQuitMessage(0);
  return 0;
}

// Input may still be queued for a window when it is destroyed (a key pressed while it closes);
// the loop must not hand it to the freed window.
TEST(WindowSystem, WhatWasQueuedForADestroyedWindowIsNeverDispatched) {
  std::vector<uint32_t> received;
  g_received = &received;
  std::thread window_thread([] {
    WindowPlacement placement;
    placement.client_width = placement.client_height = 8;
    Window* window = CreateWindow("queued", placement, RecordingProcedure);
    ASSERT_NE(window, nullptr);
    PostMessage(window, kMsgKeyDown, kVkA, 1);
    PostMessage(window, kMsgMouseMove, 0, PackPoint(1, 2));
    InvalidateWindow(window);
    DestroyWindow(window);
    Message message;
    while (GetMessage(&message)) {
      TranslateMessage(message);
      DispatchMessage(message);
    }
  });
  window_thread.join();
  EXPECT_EQ(received, (std::vector<uint32_t>{kMsgCreate, kMsgDestroy}));
}

// Runs `setup` on a fresh window thread, then its loop until the quit message; records what the
// window procedure receives. Paint is left to the default processing, and the procedure records
// whether that left any area awaiting painting.
struct LoopRecord {
  std::vector<uint32_t> received;
  bool area_left_after_paint = false;
  uint32_t quit_code = 0;
};
LoopRecord* g_record = nullptr;

int32_t DefaultPaintingProcedure(Window* window, uint32_t message, uint32_t first,
                                 uint32_t second) {
  g_record->received.push_back(message);
  const int32_t result = DefaultWindowProcedure(window, message, first, second);
  if (message == kMsgPaint) {
    g_record->area_left_after_paint = !window->queue().UpdateArea(window).Empty();
    PostQuitMessage(7);
  }
  return result;
}

template <typename Setup>
LoopRecord RunLoop(Setup&& setup) {
  LoopRecord record;
  g_record = &record;
  std::thread window_thread([&] {
    WindowPlacement placement;
    placement.client_width = placement.client_height = 8;
    Window* window = CreateWindow("order", placement, DefaultPaintingProcedure);
    ASSERT_NE(window, nullptr);
    setup(window);
    Message message;
    while (GetMessage(&message)) {
      TranslateMessage(message);
      DispatchMessage(message);
    }
    record.quit_code = message.first;
    DestroyWindow(window);
  });
  window_thread.join();
  return record;
}

TEST(WindowSystem, PostedMessagesComeFirstThenQuitThenPainting) {
  // A key's character comes right after its key-down, ahead of what was posted later; painting
  // waits for an empty queue, two invalidations make one paint, and the default processing
  // validates it.
  const LoopRecord painted = RunLoop([](Window* window) {
    InvalidateWindow(window);
    PostMessage(window, kMsgKeyDown, kVkA, 1);
    PostMessage(window, kMsgMouseMove, 0, PackPoint(1, 2));
    InvalidateWindow(window);
  });
  EXPECT_EQ(painted.received, (std::vector<uint32_t>{kMsgCreate, kMsgKeyDown, kMsgChar,
                                                     kMsgMouseMove, kMsgPaint, kMsgDestroy}));
  EXPECT_FALSE(painted.area_left_after_paint);
  EXPECT_EQ(painted.quit_code, 7u);

  // A quit posted before other messages still lets them through, and ends the loop before any
  // painting.
  const LoopRecord quit = RunLoop([](Window* window) {
    InvalidateWindow(window);
    PostQuitMessage(3);
    PostMessage(window, kMsgMouseMove, 0, PackPoint(1, 2));
  });
  EXPECT_EQ(quit.received, (std::vector<uint32_t>{kMsgCreate, kMsgMouseMove, kMsgDestroy}));
  EXPECT_EQ(quit.quit_code, 3u);
}

TEST(WindowSystem, ATaskForAClosedQueueIsRefusedNotAwaited) {
  std::shared_ptr<MessageQueue> queue;
  std::thread owner([&] { queue = CurrentThreadQueue(); });
  owner.join();
  queue->Close();
  bool ran = false;
  EXPECT_FALSE(queue->RunTask([&] { ran = true; }));
  EXPECT_FALSE(ran);
}

}  // namespace
}  // namespace lumivex
