// Our window system's message loop around a window's destruction.
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

}  // namespace
}  // namespace lumivex
