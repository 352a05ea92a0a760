// Input injected into the live canvas window from another thread, through its queue.
#include "input_injection.h"

#include "canvas_state.h"
#include "platform/messages.h"
#include "png_writer.h"

namespace lumivex {

namespace {

// The key-state flags of the last injected mouse message (injecting thread only).
uint32_t g_injected_mouse_flags = 0;

constexpr uint32_t kKeyDownInfo = 1;                          // repeat count 1
constexpr uint32_t kKeyUpInfo = 1 | (1u << 30) | (1u << 31);  // previous state, transition
constexpr uint32_t kAltContext = 1u << 29;

}  // namespace

bool InjectMessages(const std::vector<InjectedMessage>& messages) {
  std::shared_ptr<MessageQueue> queue;
  {
    CanvasState& canvas = Canvas();
    std::lock_guard<std::mutex> hold(canvas.registry_mutex);
    if (!canvas.live_queue) return false;
    queue = canvas.live_queue;
    for (const InjectedMessage& m : messages) {
      queue->Post(Message{canvas.live_window, m.message, m.first, m.second});
    }
  }
  // Returns once the window thread has handled everything posted before.
  return queue->RunTask([] {});
}

bool InjectKeyStroke(const script::KeyStroke& stroke) {
  std::vector<InjectedMessage> messages;
  const uint32_t context = stroke.alt ? kAltContext : 0;
  // With Control held as well, Alt combinations arrive as plain key messages; F10 is a system
  // key on its own.
  const bool system_key = (stroke.alt && !stroke.control) || stroke.virtual_key == kVkF1 + 9;
  if (stroke.shift) messages.push_back({kMsgKeyDown, kVkShift, kKeyDownInfo});
  if (stroke.control) messages.push_back({kMsgKeyDown, kVkControl, kKeyDownInfo});
  if (stroke.alt) {
    messages.push_back(
        {stroke.control ? kMsgKeyDown : kMsgSysKeyDown, kVkAlt, kKeyDownInfo | kAltContext});
  }
  messages.push_back(
      {system_key ? kMsgSysKeyDown : kMsgKeyDown, stroke.virtual_key, kKeyDownInfo | context});
  messages.push_back(
      {system_key ? kMsgSysKeyUp : kMsgKeyUp, stroke.virtual_key, kKeyUpInfo | context});
  if (stroke.alt) {
    messages.push_back({stroke.control ? kMsgKeyUp : kMsgSysKeyUp, kVkAlt, kKeyUpInfo});
  }
  if (stroke.control) messages.push_back({kMsgKeyUp, kVkControl, kKeyUpInfo});
  if (stroke.shift) messages.push_back({kMsgKeyUp, kVkShift, kKeyUpInfo});
  return InjectMessages(messages);
}

bool InjectMouse(int32_t x, int32_t y, uint32_t flags) {
  const uint32_t point = PackPoint(x, y);
  std::vector<InjectedMessage> messages{{kMsgMouseMove, flags, point}};
  struct Button {
    uint32_t flag, down, up;
  };
  static constexpr Button kButtons[] = {
      {kMkLeftButton, kMsgLeftButtonDown, kMsgLeftButtonUp},
      {kMkRightButton, kMsgRightButtonDown, kMsgRightButtonUp},
      {kMkMiddleButton, kMsgMiddleButtonDown, kMsgMiddleButtonUp},
  };
  for (const Button& b : kButtons) {
    if ((flags ^ g_injected_mouse_flags) & b.flag) {
      messages.push_back({(flags & b.flag) ? b.down : b.up, flags, point});
    }
  }
  g_injected_mouse_flags = flags;
  return InjectMessages(messages);
}

bool InjectWheel(int32_t screen_x, int32_t screen_y) {
  const uint32_t first = (static_cast<uint32_t>(static_cast<uint16_t>(kWheelDelta)) << 16) |
                         (g_injected_mouse_flags & 0xFFFF);
  return InjectMessages({{kMsgMouseWheel, first, PackPoint(screen_x, screen_y)}});
}

bool InjectClose() {
  return InjectMessages({{kMsgClose, 0, 0}});
}

bool RunOnWindowThread(const std::function<void(Window*)>& task) {
  std::shared_ptr<MessageQueue> queue;
  {
    CanvasState& canvas = Canvas();
    std::lock_guard<std::mutex> hold(canvas.registry_mutex);
    queue = canvas.live_queue;
  }
  if (!queue) return false;
  return queue->RunTask([&task] {
    // On the window thread, which alone changes the registry's window.
    CanvasState& canvas = Canvas();
    Window* window;
    {
      std::lock_guard<std::mutex> hold(canvas.registry_mutex);
      window = canvas.live_window;
    }
    task(window);
  });
}

bool SaveWindowPng(const std::string& path, std::string* error) {
  int32_t width = 0, height = 0;
  std::vector<uint32_t> pixels;
  const bool ran = RunOnWindowThread([&](Window* window) {
    if (window == nullptr) return;
    UpdateWindow(window);
    std::lock_guard<ReentrantLock> hold(*window->surface_lock());
    const Bitmap& surface = window->surface();
    width = surface.width();
    height = surface.height();
    pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
    for (int32_t y = 0; y < height; ++y) {
      std::copy(surface.Row32(y), surface.Row32(y) + width,
                pixels.begin() + static_cast<ptrdiff_t>(y) * width);
    }
  });
  if (!ran || width == 0) {
    *error = "no canvas window is open";
    return false;
  }
  return WritePng(path, width, height, pixels, error);
}

}  // namespace lumivex
