// Windows, message queues, the message loop and key translation.
#include "platform/window_system.h"

#include "platform/backends/backend.h"
#include "platform/messages.h"

namespace lumivex {

// ---------------------------------------------------------------------------------------------
// MessageQueue

// Posts wake the queue's thread while still holding the mutex: the message may make that thread
// destroy its window, end and free the queue, which must not happen while the poster is still
// inside the queue.
void MessageQueue::Post(const Message& message) {
  std::lock_guard<std::mutex> hold(mutex_);
  if (closed_) return;
  messages_.push_back(message);
  wake_.notify_one();
}

void MessageQueue::PostFront(const Message& message) {
  std::lock_guard<std::mutex> hold(mutex_);
  if (closed_) return;
  messages_.push_front(message);
  wake_.notify_one();
}

void MessageQueue::PostQuit(int32_t code) {
  std::lock_guard<std::mutex> hold(mutex_);
  quit_ = true;
  quit_code_ = code;
  wake_.notify_one();
}

bool MessageQueue::Get(Message* message) {
  std::unique_lock<std::mutex> hold(mutex_);
  for (;;) {
    if (closed_) return false;
    if (!messages_.empty()) {
      *message = messages_.front();
      messages_.pop_front();
      return true;
    }
    // Like the classic loop: quit comes once the posted messages are done, painting once the
    // queue is empty.
    if (quit_) {
      quit_ = false;
      *message = Message{nullptr, kMsgQuit, static_cast<uint32_t>(quit_code_), 0};
      return false;
    }
    if (invalid_window_ != nullptr && !invalid_area_.Empty()) {
      *message = Message{invalid_window_, kMsgPaint, 0, 0};
      return true;
    }
    wake_.wait(hold);
  }
}

bool MessageQueue::RunTask(std::function<void()> task) {
  if (CurrentThreadQueue().get() == this) {
    task();
    return true;
  }
  std::unique_lock<std::mutex> hold(mutex_);
  if (closed_) return false;
  const uint32_t ticket = next_ticket_++;
  tasks_.emplace_back(ticket, std::move(task));
  messages_.push_back(Message{nullptr, kMsgRunTask, ticket, 0});
  wake_.notify_one();
  task_done_.wait(hold, [&] { return closed_ || last_finished_ticket_ >= ticket; });
  return last_finished_ticket_ >= ticket;
}

void MessageQueue::RunQueuedTask(uint32_t ticket) {
  std::function<void()> task;
  {
    std::lock_guard<std::mutex> hold(mutex_);
    for (auto it = tasks_.begin(); it != tasks_.end(); ++it) {
      if (it->first == ticket) {
        task = std::move(it->second);
        tasks_.erase(it);
        break;
      }
    }
  }
  if (task) task();
  {
    std::lock_guard<std::mutex> hold(mutex_);
    if (ticket > last_finished_ticket_) last_finished_ticket_ = ticket;
  }
  task_done_.notify_all();
}

void MessageQueue::Invalidate(Window* window, const Rect& area) {
  std::lock_guard<std::mutex> hold(mutex_);
  if (closed_) return;
  if (invalid_window_ != window) {
    invalid_window_ = window;
    invalid_area_ = Rect{};
  }
  invalid_area_ = invalid_area_.Union(area);
  wake_.notify_one();
}

Rect MessageQueue::UpdateArea(Window* window) {
  std::lock_guard<std::mutex> hold(mutex_);
  return invalid_window_ == window ? invalid_area_ : Rect{};
}

Rect MessageQueue::TakeUpdateArea(Window* window) {
  std::lock_guard<std::mutex> hold(mutex_);
  if (invalid_window_ != window) return Rect{};
  const Rect area = invalid_area_;
  invalid_area_ = Rect{};
  return area;
}

void MessageQueue::DiscardWindow(Window* window) {
  std::lock_guard<std::mutex> hold(mutex_);
  std::erase_if(messages_, [window](const Message& m) { return m.window == window; });
  if (invalid_window_ == window) {
    invalid_window_ = nullptr;
    invalid_area_ = Rect{};
  }
}

void MessageQueue::Close() {
  {
    std::lock_guard<std::mutex> hold(mutex_);
    closed_ = true;
    messages_.clear();
    tasks_.clear();
    invalid_window_ = nullptr;
  }
  wake_.notify_all();
  task_done_.notify_all();
}

void MessageQueue::TrackKeyState(const Message& message) {
  const uint32_t key = message.first & 0xFF;
  switch (message.message) {
    case kMsgKeyDown:
    case kMsgSysKeyDown:
      if (key == kVkCapsLock && !key_down_[key]) caps_lock_ = !caps_lock_;
      key_down_[key] = true;
      break;
    case kMsgKeyUp:
    case kMsgSysKeyUp:
      key_down_[key] = false;
      break;
    default:
      break;
  }
}

// ---------------------------------------------------------------------------------------------
// Window

Window::Window(const std::string& title, const WindowPlacement& placement,
               WindowProcedure procedure, std::shared_ptr<MessageQueue> queue)
    : title_(title),
      placement_(placement),
      procedure_(procedure),
      queue_(std::move(queue)),
      surface_(placement.client_width, placement.client_height, PixelFormat::kRgb32) {}

namespace {

thread_local std::shared_ptr<MessageQueue> current_queue;

}  // namespace

std::shared_ptr<MessageQueue> CurrentThreadQueue() {
  if (!current_queue) current_queue = std::make_shared<MessageQueue>();
  return current_queue;
}

Window* CreateWindow(const std::string& title, const WindowPlacement& placement,
                     WindowProcedure procedure) {
  auto* window = new Window(title, placement, procedure, CurrentThreadQueue());
  if (!Backend().OpenWindow(*window)) {
    delete window;
    return nullptr;
  }
  procedure(window, kMsgCreate, 0, 0);
  return window;
}

void DestroyWindow(Window* window) {
  window->procedure()(window, kMsgDestroy, 0, 0);
  // Once the display has let go of the window nothing posts to it any more; what was posted
  // before (input that arrived while it closed) must not reach it after it is freed.
  Backend().CloseWindow(*window);
  window->queue().DiscardWindow(window);
  delete window;
}

void ShowWindow(Window* window) {
  Backend().ShowWindow(*window);
}

bool GetMessage(Message* message) {
  MessageQueue& queue = *CurrentThreadQueue();
  if (!queue.Get(message)) return false;
  queue.TrackKeyState(*message);
  return true;
}

void TranslateMessage(const Message& message) {
  if (message.message != kMsgKeyDown && message.message != kMsgSysKeyDown) return;
  const bool alt = KeyIsDown(kVkAlt);
  const bool control = KeyIsDown(kVkControl);
  // Control with Alt makes no character on the US layout.
  if (alt && control) return;
  const int character = CharacterForKey(message.first, KeyIsDown(kVkShift), control,
                                        CurrentThreadQueue()->CapsLockOn());
  if (character < 0) return;
  const uint32_t kind = message.message == kMsgSysKeyDown ? kMsgSysChar : kMsgChar;
  CurrentThreadQueue()->PostFront(
      Message{message.window, kind, static_cast<uint32_t>(character), message.second});
}

int32_t DispatchMessage(const Message& message) {
  if (message.message == kMsgRunTask) {
    CurrentThreadQueue()->RunQueuedTask(message.first);
    return 0;
  }
  if (message.window == nullptr) return 0;
  return message.window->procedure()(message.window, message.message, message.first,
                                     message.second);
}

void PostMessage(Window* window, uint32_t message, uint32_t first, uint32_t second) {
  // Hold the queue: the message may end the window's thread, and with it the thread's last
  // reference to the queue, before Post returns.
  const std::shared_ptr<MessageQueue> queue = window->shared_queue();
  queue->Post(Message{window, message, first, second});
}

void PostQuitMessage(int32_t code) {
  CurrentThreadQueue()->PostQuit(code);
}

void InvalidateWindow(Window* window) {
  window->queue().Invalidate(window, window->surface().bounds());
}

void UpdateWindow(Window* window) {
  if (!window->queue().UpdateArea(window).Empty()) {
    window->procedure()(window, kMsgPaint, 0, 0);
  }
}

bool KeyIsDown(uint32_t virtual_key) {
  return CurrentThreadQueue()->KeyDown(virtual_key);
}

int32_t DefaultWindowProcedure(Window* window, uint32_t message, uint32_t, uint32_t) {
  // Painting left to the default counts as done, or the queue would hand it out again at once.
  if (message == kMsgPaint && window != nullptr) window->queue().TakeUpdateArea(window);
  return message == kMsgEraseBackground ? 1 : 0;
}

// ---------------------------------------------------------------------------------------------
// Key translation (US layout).

int CharacterForKey(uint32_t key, bool shift, bool control, bool caps_lock) {
  key &= 0xFF;
  if (key >= kVkA && key <= kVkA + 25) {
    if (control) return static_cast<int>(key - kVkA + 1);
    const bool upper = shift != caps_lock;
    return static_cast<int>(upper ? key : key - kVkA + 'a');
  }
  if (key >= kVk0 && key <= kVk0 + 9) {
    if (control) {
      if (shift && key == kVk0 + 2) return 0x00;
      if (shift && key == kVk0 + 6) return 0x1E;
      return -1;
    }
    static const char kShifted[] = ")!@#$%^&*(";
    return shift ? kShifted[key - kVk0] : static_cast<int>(key);
  }
  if (key >= kVkNumpad0 && key <= kVkNumpad0 + 9) {
    return control ? -1 : static_cast<int>('0' + key - kVkNumpad0);
  }
  switch (key) {
    case kVkSpace:
      return ' ';
    case kVkEnter:
      return control ? 0x0A : 0x0D;
    case kVkBackspace:
      return control ? 0x7F : 0x08;
    case kVkEscape:
      return 0x1B;
    case kVkTab:
      return control ? -1 : 0x09;
    case kVkMultiply:
      return control ? -1 : '*';
    case kVkAdd:
      return control ? -1 : '+';
    case kVkSubtract:
      return control ? -1 : '-';
    case kVkDecimal:
      return control ? -1 : '.';
    case kVkDivide:
      return control ? -1 : '/';
    default:
      break;
  }
  struct Punctuation {
    uint32_t key;
    char plain;
    char shifted;
    int control;  // -1 for none
  };
  static const Punctuation kPunctuation[] = {
      {kVkSemicolon, ';', ':', -1},    {kVkEquals, '=', '+', -1},
      {kVkComma, ',', '<', -1},        {kVkMinus, '-', '_', -2},
      {kVkPeriod, '.', '>', -1},       {kVkSlash, '/', '?', -1},
      {kVkBackquote, '`', '~', -1},    {kVkLeftBracket, '[', '{', 0x1B},
      {kVkBackslash, '\\', '|', 0x1C}, {kVkRightBracket, ']', '}', 0x1D},
      {kVkQuote, '\'', '"', -1},
  };
  for (const Punctuation& p : kPunctuation) {
    if (p.key != key) continue;
    if (control) {
      // Control with the minus key makes 0x1F only together with Shift.
      if (p.control == -2) return shift ? 0x1F : -1;
      return p.control;
    }
    return shift ? p.shifted : p.plain;
  }
  return -1;
}

}  // namespace lumivex
