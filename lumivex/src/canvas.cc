// The canvas: opening and closing the window, the window thread with its message loop and window
// procedure, the creation and destruction handlers, and the library's start and end.
#include <pthread.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>

#include "canvas_state.h"
#include "keyboard.h"
#include "platform/backends/backend.h"
#include "platform/messages.h"
#include "script.h"

HookProcedure KeyboardHook = nullptr;
HookProcedure MouseHook = nullptr;

namespace lumivex {

CanvasState* g_canvas = nullptr;
constinit std::atomic<int16_t> g_status{0};

namespace {

constexpr auto kHandOverLook = std::chrono::milliseconds(10);

int32_t CallHook(HookProcedure hook, Window* window, uint32_t message, uint32_t first,
                 uint32_t second) {
  return hook != nullptr ? hook(static_cast<WindowHandle>(window), message, first, second) : 0;
}

// Window creation, on the window thread: the pages, palette and device contexts, then the hooks,
// then the open flag.
void CreationHandler(Window* window) {
  CanvasState& canvas = Canvas();
  canvas.max_x = window->placement().client_width - 1;
  canvas.max_y = window->placement().client_height - 1;
  canvas.window = window;
  window->set_surface_lock(&canvas.lock);
  canvas.window_dc = DeviceContext();
  canvas.page_dc = DeviceContext();
  canvas.window_dc.SelectBitmap(&window->surface());
  if (canvas.palette_mode) {
    canvas.palette.Resize(0);
    canvas.palette.Resize(canvas.palette_size);
    canvas.window_dc.SelectPalette(&canvas.palette);
    canvas.page_dc.SelectPalette(&canvas.palette);
  }
  CreatePages();
  CallHook(MouseHook, window, kMsgCreate, 0, 0);
  CallHook(KeyboardHook, window, kMsgCreate, 0, 0);
  {
    std::lock_guard<std::mutex> hold(canvas.registry_mutex);
    canvas.live_window = window;
    canvas.live_queue = window->shared_queue();
  }
  canvas.open.store(true, std::memory_order_release);
}

// Window destruction, on the window thread, reached only through CloseCanvas.
void DestructionHandler(Window* window) {
  CanvasState& canvas = Canvas();
  {
    std::lock_guard<std::mutex> hold(canvas.registry_mutex);
    canvas.live_window = nullptr;
    canvas.live_queue.reset();
  }
  CallHook(MouseHook, window, kMsgDestroy, 0, 0);
  CallHook(KeyboardHook, window, kMsgDestroy, 0, 0);
  {
    std::lock_guard<ReentrantLock> hold(canvas.lock);
    canvas.has_pattern_bitmap = false;
    canvas.has_clip_region = false;
    ReleasePages();
    canvas.window_dc = DeviceContext();
    canvas.page_dc = DeviceContext();
    canvas.palette_mode = false;
    canvas.window = nullptr;
  }
  PostQuitMessage(0);
}

int32_t CanvasWindowProcedure(Window* window, uint32_t message, uint32_t first, uint32_t second) {
  switch (message) {
    case kMsgCreate:
      CreationHandler(window);
      return DefaultWindowProcedure(window, message, first, second);
    case kMsgDestroy:
      DestructionHandler(window);
      return 0;
    case kMsgPaint:
      PaintWindow(window);
      return 0;
    case kMsgClose:
    case kMsgKeyDown:
    case kMsgChar:
    case kMsgSysKeyDown:
      // Close never reaches the default processing: the user cannot close the canvas window.
      return CallHook(KeyboardHook, window, message, first, second);
    case kMsgEraseBackground:
      if (Canvas().open.load(std::memory_order_relaxed)) return 1;
      return DefaultWindowProcedure(window, message, first, second);
    case kMsgSysChar:
      return 0;
    case kMsgMouseMove:
    case kMsgLeftButtonDown:
    case kMsgLeftButtonUp:
    case kMsgRightButtonDown:
    case kMsgRightButtonUp:
    case kMsgMiddleButtonDown:
    case kMsgMiddleButtonUp:
    case kMsgMouseWheel:
      return CallHook(MouseHook, window, message, first, second);
    case kMsgUser:
      DestroyWindow(window);
      return 0;
    default:
      return DefaultWindowProcedure(window, message, first, second);
  }
}

void RaiseCurrentThreadPriority() {
  // Above normal where the system allows it; an unprivileged process keeps the normal priority.
  const pid_t thread_id = static_cast<pid_t>(syscall(SYS_gettid));
  errno = 0;
  const int nice_value = getpriority(PRIO_PROCESS, static_cast<id_t>(thread_id));
  if (errno == 0) setpriority(PRIO_PROCESS, static_cast<id_t>(thread_id), nice_value - 1);
}

void WindowThread(std::string title) {
  CanvasState& canvas = Canvas();
  pthread_setname_np(pthread_self(), "lumivex-window");
  RaiseCurrentThreadPriority();
  std::shared_ptr<MessageQueue> queue = CurrentThreadQueue();
  Window* window = CreateWindow(title, canvas.placement, CanvasWindowProcedure);
  if (window == nullptr) {
    SetStatus(kStatusNoWindow);
  } else {
    Message message;
    while (GetMessage(&message)) {
      TranslateMessage(message);
      DispatchMessage(message);
    }
    SetStatus(static_cast<int16_t>(message.first & 0xFFFF));
  }
  queue->Close();
  canvas.window_thread_running.store(false, std::memory_order_release);
}

// Works out the window size and style for the mode; false (with -3) when it cannot fit.
bool ComputeGeometry(CanvasState& canvas) {
  const ScreenMetrics metrics = Backend().Metrics();
  const int32_t fw = 2 * metrics.dialog_frame_width;
  const int32_t fh = 2 * metrics.dialog_frame_height + metrics.caption_height;
  int32_t cw = 65535, ch = 65535;
  switch (canvas.mode) {
    case 1:
      cw = 320;
      ch = 200;
      break;
    case 2:
      cw = 640;
      ch = 200;
      break;
    case 3:
      cw = 640;
      ch = 350;
      break;
    case 4:
      cw = 640;
      ch = 480;
      break;
    case 5:
      cw = 720;
      ch = 350;
      break;
    case 6:
      cw = 800;
      ch = 600;
      break;
    case 7:
      cw = 1024;
      ch = 768;
      break;
    case 8:
      cw = 1280;
      ch = 1024;
      break;
    case 10:
      cw = -fw;
      ch = -fh;
      break;
    case 11:
      cw = canvas.screen_width - fw;
      ch = canvas.screen_height - fh;
      break;
    case 12:
      cw = canvas.screen_width;
      ch = canvas.screen_height;
      break;
    default:
      break;  // 13 (a custom size nothing sets) is refused like every other number
  }
  WindowPlacement& p = canvas.placement;
  p = WindowPlacement{};
  int32_t w = cw + fw, h = ch + fh;
  if (w <= canvas.screen_width && h <= canvas.screen_height) {
    p.style = kStyleCaptionWindow;
    if (w == 0 && h == 0) {
      // The system chooses position and size.
      w = metrics.default_outer_width;
      h = metrics.default_outer_height;
      p.x = metrics.default_x;
      p.y = metrics.default_y;
      p.default_position = true;
    } else {
      p.x = (canvas.screen_width - w) / 2;
      p.y = (canvas.screen_height - h) / 2;
    }
    p.client_width = w - fw;
    p.client_height = h - fh;
  } else if (cw <= canvas.screen_width && ch <= canvas.screen_height) {
    w = cw;
    h = ch;
    p.style = kStylePopup;
    p.x = (canvas.screen_width - w) / 2;
    p.y = (canvas.screen_height - h) / 2;
    p.client_width = w;
    p.client_height = h;
  } else {
    SetStatus(kStatusBadMode);
    return false;
  }
  p.outer_width = w;
  p.outer_height = h;
  if (p.client_width < 1 || p.client_height < 1) {
    SetStatus(kStatusBadMode);
    return false;
  }
  return true;
}

bool ComputeColourDepth(CanvasState& canvas) {
  switch (canvas.driver) {
    case 1:
      canvas.bits_per_pixel = 1;
      break;
    case 2:
      canvas.bits_per_pixel = 4;
      break;
    case 3:
      canvas.bits_per_pixel = 8;
      break;
    case 9:
      canvas.bits_per_pixel = static_cast<uint8_t>(Backend().Metrics().bits_per_pixel);
      canvas.palette_mode = false;
      return true;
    default:
      SetStatus(kStatusBadDriver);
      return false;
  }
  canvas.palette_mode = true;
  canvas.palette_size = static_cast<uint16_t>(1u << canvas.bits_per_pixel);
  return true;
}

void ProgramEnd() {
  script::Stop();
  if (Canvas().open.load(std::memory_order_relaxed)) CloseCanvas();
}

}  // namespace

// The library's start, before the program's own code: the canvas part, then the keyboard part
// (the mouse part, where linked, follows at a later priority).
__attribute__((constructor(101))) static void StartLibrary() {
  g_canvas = new CanvasState();
  CanvasState& canvas = Canvas();
  KeyboardHook = nullptr;
  MouseHook = nullptr;
  const ScreenMetrics metrics = Backend().Metrics();
  canvas.screen_width = metrics.width;
  canvas.screen_height = metrics.height;
  StartKeyboardPart();
  script::StartFromEnvironment();
  std::atexit(ProgramEnd);
}

}  // namespace lumivex

using namespace lumivex;

void OpenCanvas(int16_t& driver, int16_t& mode, const char* title) {
  CanvasState& canvas = Canvas();
  SetStatus(kStatusOk);
  if (canvas.open.load(std::memory_order_relaxed)) {
    SetStatus(kStatusAlreadyOpen);
    return;
  }
  if (driver == 0) {
    driver = 9;
    mode = 10;
  }
  canvas.driver = driver;
  canvas.mode = mode;
  // The geometry is tested before the driver, so a bad mode gives -3 whatever the driver.
  if (!ComputeGeometry(canvas) || !ComputeColourDepth(canvas)) return;

  std::string caption = title != nullptr ? std::string(title, strnlen(title, kTitleLength)) : "";
  if (caption.empty()) caption = "Lumivex 1.1";
  canvas.title = caption;

  // The program's thread draws under the canvas lock all the time; it gets the lock's cheap path.
  canvas.lock.BindToCurrentThread();
  canvas.window_thread_running.store(true, std::memory_order_relaxed);
  canvas.window_thread = std::thread(WindowThread, caption);
  for (;;) {
    std::this_thread::sleep_for(kHandOverLook);
    if (canvas.open.load(std::memory_order_acquire)) break;
    if (g_status.load(std::memory_order_relaxed) != kStatusOk) {
      // The window thread failed and has ended (or is ending).
      canvas.window_thread.join();
      return;
    }
  }

  canvas.show_page = 0;
  SetDrawPage(0);
  FillFontTable();
  if (g_status.load(std::memory_order_relaxed) != kStatusOk) return;
  ResetDrawingObjects();
  CanvasDefaults();
  // OpenGL is not offered; the canvas is fully usable all the same.
  SetStatus(kStatusNoOpenGL);
  Window* window = canvas.window;
  window->queue().RunTask([window] { ShowWindow(window); });
  if (script::g_active.load(std::memory_order_relaxed)) script::OnCanvasOpened();
}

void CloseCanvas() {
  CanvasState& canvas = Canvas();
  SetStatus(kStatusOk);
  if (!canvas.open.load(std::memory_order_relaxed)) {
    SetStatus(kStatusNotOpen);
    return;
  }
  canvas.open.store(false, std::memory_order_relaxed);
  PostMessage(canvas.window, kMsgUser, 0, 0);
  do {
    std::this_thread::sleep_for(kHandOverLook);
  } while (canvas.window_thread_running.load(std::memory_order_acquire));
  canvas.window_thread.join();
}

int16_t CanvasStatus() {
  return g_status.load(std::memory_order_relaxed);
}

bool CanvasIsOpen() {
  return Canvas().open.load(std::memory_order_relaxed);
}

void SelectGLTarget(bool) {
  SetStatus(kStatusNoOpenGL);
}
