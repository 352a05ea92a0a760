// The mouse part: the latest pointer position, buttons and Shift/Ctrl state of the canvas
// window. A separate library, linked only by programs that use the mouse; its start-up fills
// MouseHook after the canvas and keyboard parts have started, whatever the link order.
//
// The hook writes the three values on the window thread under the mouse lock; the program's
// thread reads each as one aligned 16-bit value without the lock.
#include "lumivex/mouse.h"

#include <atomic>
#include <mutex>

#include "lumivex/lumivex.h"
#include "platform/messages.h"

namespace lumivex {

namespace {

std::mutex g_mouse_lock;
std::atomic<int16_t> g_latest_x{0};
std::atomic<int16_t> g_latest_y{0};
std::atomic<uint16_t> g_latest_buttons{0};

uint16_t ButtonBits(uint32_t key_state) {
  uint16_t bits = 0;
  if (key_state & kMkLeftButton) bits |= 1;
  if (key_state & kMkRightButton) bits |= 2;
  if (key_state & kMkMiddleButton) bits |= 4;
  if (key_state & kMkShift) bits |= 8;
  if (key_state & kMkControl) bits |= 16;
  return bits;
}

int32_t MouseHandler(WindowHandle, uint32_t message, uint32_t first, uint32_t second) {
  switch (message) {
    case kMsgMouseMove:
    case kMsgLeftButtonDown:
    case kMsgLeftButtonUp:
    case kMsgRightButtonDown:
    case kMsgRightButtonUp:
    case kMsgMiddleButtonDown:
    case kMsgMiddleButtonUp:
    case kMsgMouseWheel: {
      std::lock_guard<std::mutex> hold(g_mouse_lock);
      g_latest_buttons.store(ButtonBits(first & 0xFFFF), std::memory_order_relaxed);
      g_latest_x.store(static_cast<int16_t>(second & 0xFFFF), std::memory_order_relaxed);
      g_latest_y.store(static_cast<int16_t>(second >> 16), std::memory_order_relaxed);
      break;
    }
    default:
      break;
  }
  return 0;
}

// After the canvas part (101) and its keyboard part.
__attribute__((constructor(103))) void StartMousePart() {
  MouseHook = MouseHandler;
}

}  // namespace

}  // namespace lumivex

int16_t MouseX() {
  return lumivex::g_latest_x.load(std::memory_order_relaxed);
}
int16_t MouseY() {
  return lumivex::g_latest_y.load(std::memory_order_relaxed);
}
uint16_t MouseButtons() {
  return lumivex::g_latest_buttons.load(std::memory_order_relaxed);
}
