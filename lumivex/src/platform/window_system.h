// Our window system: windows owned by a thread, a message queue per such thread, the message
// loop's get, translate and dispatch, painting and invalidation, and the thread's key state.
//
// A window lives on the thread that created it. That thread runs the loop: GetMessage blocks
// until a message is posted, a quit is posted, or (with the queue empty) the window has an area
// awaiting painting, which yields a paint message. Other threads post messages, invalidate and
// queue tasks; everything they touch is guarded by the queue's mutex. The key state follows the
// key messages as the loop takes them out of the queue, so the modifiers a handler reads are
// those in force when the key was pressed.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "lumivex/lumivex.h"
#include "platform/raster/bitmap.h"
#include "platform/raster/colour_ref.h"

struct LumivexWindow {};

namespace lumivex {

class Window;
class ReentrantLock;

using WindowProcedure = int32_t (*)(Window* window, uint32_t message, uint32_t first,
                                    uint32_t second);

struct Message {
  Window* window = nullptr;
  uint32_t message = 0;
  uint32_t first = 0;
  uint32_t second = 0;
};

// The message queue of one thread. Posting is safe from any thread; a queue whose thread has
// ended drops what is posted and releases whoever waits for a task.
class MessageQueue {
 public:
  void Post(const Message& message);
  void PostQuit(int32_t code);

  // Blocks until a message is available. False when the quit message was taken (its code in
  // message->first) or the queue was closed.
  bool Get(Message* message);

  // Runs a task on the queue's thread, in order with the messages posted before it, and waits
  // until it has run. False when the thread ended first.
  bool RunTask(std::function<void()> task);

  // Marks an area of a window as awaiting painting and wakes the thread.
  void Invalidate(Window* window, const Rect& area);
  // The area awaiting painting (empty if none), and taking it (painting validates it).
  Rect UpdateArea(Window* window);
  Rect TakeUpdateArea(Window* window);

  // Drops the messages and painting still queued for a window that is being destroyed, so none
  // is dispatched to it afterwards.
  void DiscardWindow(Window* window);

  // The thread is done with its queue; later posts are dropped and waiting tasks released.
  void Close();

  // Key state of the thread: down while the key's key-down message has been taken and its
  // key-up not yet; Caps Lock toggles.
  bool KeyDown(uint32_t virtual_key) const { return key_down_[virtual_key & 0xFF]; }
  bool CapsLockOn() const { return caps_lock_; }

  // Called by the loop's thread for the message it takes.
  void TrackKeyState(const Message& message);

  // Puts a message ahead of all others (a character made by translation).
  void PostFront(const Message& message);

  // Runs a queued task by its ticket (the loop's dispatch of kMsgRunTask).
  void RunQueuedTask(uint32_t ticket);

 private:
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable task_done_;
  std::deque<Message> messages_;
  Window* invalid_window_ = nullptr;
  Rect invalid_area_{};
  bool quit_ = false;
  int32_t quit_code_ = 0;
  bool closed_ = false;
  uint32_t next_ticket_ = 1;
  uint32_t last_finished_ticket_ = 0;
  std::deque<std::pair<uint32_t, std::function<void()>>> tasks_;
  bool key_down_[256] = {};  // written and read by the queue's thread only
  bool caps_lock_ = false;
};

// Where and how a window appears on the screen.
struct WindowPlacement {
  int32_t x = 0, y = 0;
  int32_t outer_width = 0, outer_height = 0;
  int32_t client_width = 0, client_height = 0;
  uint32_t style = 0;
  // The system chose position and size (x and y are then only where a display without a say of
  // its own puts the window).
  bool default_position = false;
};

class Window : public LumivexWindow {
 public:
  Window(const std::string& title, const WindowPlacement& placement, WindowProcedure procedure,
         std::shared_ptr<MessageQueue> queue);

  const std::string& title() const { return title_; }
  const WindowPlacement& placement() const { return placement_; }
  WindowProcedure procedure() const { return procedure_; }
  MessageQueue& queue() { return *queue_; }
  const std::shared_ptr<MessageQueue>& shared_queue() const { return queue_; }

  // What the window shows, in RGB, the client size. Read and written under surface_lock().
  Bitmap& surface() { return surface_; }
  // The lock that guards the surface; the window's owner sets it before drawing.
  void set_surface_lock(ReentrantLock* lock) { surface_lock_ = lock; }
  ReentrantLock* surface_lock() const { return surface_lock_; }

  // The display backend's own data for this window.
  void* backend_data = nullptr;

 private:
  std::string title_;
  WindowPlacement placement_;
  WindowProcedure procedure_;
  std::shared_ptr<MessageQueue> queue_;
  Bitmap surface_;
  ReentrantLock* surface_lock_ = nullptr;
};

// The calling thread's queue, made on first use.
std::shared_ptr<MessageQueue> CurrentThreadQueue();

// Creates a window on the calling thread: the backend makes its on-screen part, then the window
// procedure receives the create message. nullptr when the backend cannot make the window.
Window* CreateWindow(const std::string& title, const WindowPlacement& placement,
                     WindowProcedure procedure);

// Sends the destroy message, removes the on-screen part and frees the window.
void DestroyWindow(Window* window);

void ShowWindow(Window* window);

// The loop's three steps.
bool GetMessage(Message* message);
void TranslateMessage(const Message& message);
int32_t DispatchMessage(const Message& message);

void PostMessage(Window* window, uint32_t message, uint32_t first, uint32_t second);
void PostQuitMessage(int32_t code);

// Marks the whole client area as awaiting painting, without erasing.
void InvalidateWindow(Window* window);

// Paints at once if an area awaits painting.
void UpdateWindow(Window* window);

// The key state of the calling thread: true while the key is down.
bool KeyIsDown(uint32_t virtual_key);

// The default processing of a message.
int32_t DefaultWindowProcedure(Window* window, uint32_t message, uint32_t first, uint32_t second);

// The character a key-down makes on the US layout with these modifiers, or -1 for none.
int CharacterForKey(uint32_t virtual_key, bool shift, bool control, bool caps_lock);

}  // namespace lumivex
