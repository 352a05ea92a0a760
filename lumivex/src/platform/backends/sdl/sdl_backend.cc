// The SDL2 display backend: canvas windows as real windows on the desktop.
//
// SDL wants all its video calls on one thread, so the backend owns a thread of its own, the SDL
// thread. It initialises SDL, makes, shows and destroys the SDL windows when a canvas window
// thread asks for it (the asking thread waits), pumps SDL's events and presents. Input becomes
// messages posted to the window's queue (sdl_input.h), so the window procedure and the hooks
// keep running on the window thread. The thread lives from the library's start to the
// process's end.
//
// Presenting. Painting (window thread) and mirrored drawing (program thread) write the window
// surface under its lock and mark it changed. Painting also wakes the SDL thread; mirrored
// drawing does not (that would be a call per pixel), so while a window is shown the SDL thread
// looks at the changed mark once per display refresh. A present copies the whole surface under
// the lock into a frame of the SDL thread's own, so a page never appears half copied, then
// converts and scales the frame into SDL's window surface outside the lock. A window is
// presented at most once per refresh; with nothing changing, the thread sleeps in SDL's event
// wait and costs next to nothing.
//
// LUMIVEX_SCALE=N shows each canvas pixel as N x N screen pixels (nearest neighbour); mouse
// positions are mapped back to canvas pixels. Print Screen saves what the window shows as
// lumivex-<title>-<n>.png in the working directory.
#include <pthread.h>

#include <SDL.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "platform/backends/backend.h"
#include "platform/backends/sdl/sdl_input.h"
#include "platform/messages.h"
#include "platform/reentrant_lock.h"
#include "platform/window_system.h"
#include "png_writer.h"

namespace lumivex {

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kMaxScale = 16;

int ScaleFromEnvironment() {
  const char* text = std::getenv("LUMIVEX_SCALE");
  if (text == nullptr || *text == '\0') return 1;
  int scale = 0;
  char extra = 0;
  if (std::sscanf(text, "%d%c", &scale, &extra) == 1 && scale >= 1 && scale <= kMaxScale) {
    return scale;
  }
  std::fprintf(stderr, "lumivex: LUMIVEX_SCALE=%s is not a whole number from 1 to %d; using 1\n",
               text, kMaxScale);
  return 1;
}

// Titles are single-byte text (Latin-1); SDL takes UTF-8.
std::string Utf8FromLatin1(const std::string& text) {
  std::string utf8;
  for (const unsigned char c : text) {
    if (c < 0x80) {
      utf8 += static_cast<char>(c);
    } else {
      utf8 += static_cast<char>(0xC0 | (c >> 6));
      utf8 += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return utf8;
}

// The title as a file-name part: no path separators, no control characters, not too long.
std::string FileNamePart(const std::string& title) {
  std::string part = title.substr(0, 200);
  for (char& c : part) {
    if (c == '/' || static_cast<unsigned char>(c) < 0x20) c = '_';
  }
  return part;
}

// Writes a frame (red in the low byte) into a 32-bit target, each pixel as scale x scale target
// pixels; the template arguments are the target's channel shifts. What falls outside the target
// is left out.
template <int kRedShift, int kGreenShift, int kBlueShift>
void ScaleInto(const uint32_t* frame, int32_t width, int32_t height, int scale, uint8_t* target,
               int target_pitch, int32_t target_width, int32_t target_height, uint32_t opaque) {
  const int32_t columns = std::min(width, (target_width + scale - 1) / scale);
  for (int32_t y = 0; y < height && y * scale < target_height; ++y) {
    const uint32_t* source = frame + static_cast<size_t>(y) * static_cast<size_t>(width);
    auto* row =
        reinterpret_cast<uint32_t*>(target + static_cast<ptrdiff_t>(y) * scale * target_pitch);
    if (scale == 1) {
      for (int32_t x = 0; x < columns; ++x) {
        const uint32_t v = source[x];
        row[x] = ((v & 0xFF) << kRedShift) | (((v >> 8) & 0xFF) << kGreenShift) |
                 (((v >> 16) & 0xFF) << kBlueShift) | opaque;
      }
      continue;
    }
    for (int32_t x = 0; x < columns; ++x) {
      const uint32_t v = source[x];
      const uint32_t pixel = ((v & 0xFF) << kRedShift) | (((v >> 8) & 0xFF) << kGreenShift) |
                             (((v >> 16) & 0xFF) << kBlueShift) | opaque;
      const int32_t first = x * scale;
      const int32_t last = std::min(first + scale, target_width);
      for (int32_t column = first; column < last; ++column)
        row[column] = pixel;
    }
    const size_t row_bytes =
        static_cast<size_t>(std::min(width * scale, target_width)) * sizeof(uint32_t);
    for (int i = 1; i < scale && y * scale + i < target_height; ++i) {
      std::memcpy(target + (static_cast<ptrdiff_t>(y) * scale + i) * target_pitch, row, row_bytes);
    }
  }
}

// One canvas window as the SDL thread sees it.
struct SdlWindow {
  SdlWindow(Window& w, SDL_Window* h, int s) : window(&w), handle(h), scale(s), input(w, s) {}

  Window* window;
  SDL_Window* handle;
  int scale;
  SdlInput input;
  bool shown = false;
  bool present_due = false;
  Clock::time_point last_present{};
  std::vector<uint32_t> frame;   // the surface as last copied under its lock
  std::vector<uint32_t> scaled;  // the frame scaled, for targets SDL must convert into
};

class SdlBackend final : public DisplayBackend {
 public:
  // Starts the SDL thread; false (with the reason) when SDL cannot open the display.
  bool Start(std::string* error);
  // Closes what is left and ends the SDL thread; at process end.
  void Stop();

  const char* name() const override { return "sdl"; }
  ScreenMetrics Metrics() override {
    std::lock_guard<std::mutex> hold(mutex_);
    return metrics_;
  }
  bool OpenWindow(Window& window) override;
  void ShowWindow(Window& window) override;
  void SurfaceChanged(Window& window) override;
  void CloseWindow(Window& window) override;

 private:
  struct Request {
    std::function<void()> work;
    bool done = false;
    bool ran = false;
  };

  void ThreadMain();
  bool InitialiseVideo(std::string* error);
  // Runs work on the SDL thread and waits for it; false when the thread has ended.
  bool RunOnSdlThread(std::function<void()> work);
  void Wake();
  void RunRequests();
  void HandleEvent(const SDL_Event& event);
  void HandleWindowEvent(SdlWindow& window, const SDL_WindowEvent& event);
  int NextWaitMilliseconds() const;
  void PresentDue();
  void CopySurface(SdlWindow& window);
  void Present(SdlWindow& window);
  void SaveScreenshot(SdlWindow& window);
  void MeasureFrame(SdlWindow& window);
  SdlWindow* Find(uint32_t window_id);

  int scale_ = ScaleFromEnvironment();

  // Guards the requests, the thread's life flags and the metrics; the condition wakes those
  // waiting for a request or for the start.
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<Request*> requests_;
  bool started_ = false;   // the SDL thread has tried to start SDL
  bool running_ = false;   // SDL is up and the thread takes requests
  bool stopping_ = false;  // Stop was asked
  std::string start_error_;
  ScreenMetrics metrics_;  // written by the SDL thread
  std::thread thread_;

  // Set from sending a wake-up event until the SDL thread takes it, so painting sends one, not
  // one per paint.
  std::atomic<bool> wake_pending_{false};
  uint32_t wake_event_ = 0;  // written before running_ is set

  // SDL thread only.
  std::unordered_map<uint32_t, std::unique_ptr<SdlWindow>> windows_;
  Clock::duration refresh_interval_ = std::chrono::microseconds(16667);
  bool frame_measured_ = false;
};

bool SdlBackend::Start(std::string* error) {
  thread_ = std::thread(&SdlBackend::ThreadMain, this);
  std::unique_lock<std::mutex> hold(mutex_);
  changed_.wait(hold, [this] { return started_; });
  if (running_) return true;
  *error = start_error_;
  hold.unlock();
  thread_.join();
  return false;
}

void SdlBackend::Stop() {
  {
    std::lock_guard<std::mutex> hold(mutex_);
    if (!running_) return;
    stopping_ = true;
  }
  Wake();
  thread_.join();
}

bool SdlBackend::InitialiseVideo(std::string* error) {
  // Only a desktop's display counts as one: unless SDL_VIDEODRIVER names a driver, SDL may use
  // the X server or the Wayland compositor the environment names, never a console of its own.
  if (std::getenv("SDL_VIDEODRIVER") != nullptr) {
    if (SDL_Init(SDL_INIT_VIDEO) == 0) return true;
    *error = SDL_GetError();
    return false;
  }
  struct Driver {
    const char* name;
    const char* variable;
  };
  static constexpr Driver kDrivers[] = {{"x11", "DISPLAY"}, {"wayland", "WAYLAND_DISPLAY"}};
  *error = "no display: DISPLAY and WAYLAND_DISPLAY are unset";
  for (const Driver& driver : kDrivers) {
    const char* display = std::getenv(driver.variable);
    if (display == nullptr || *display == '\0') continue;
    SDL_SetHint(SDL_HINT_VIDEODRIVER, driver.name);
    if (SDL_Init(SDL_INIT_VIDEO) == 0) return true;
    *error = std::string(driver.name) + ": " + SDL_GetError();
  }
  return false;
}

void SdlBackend::ThreadMain() {
  pthread_setname_np(pthread_self(), "lumivex-sdl");
  // The cheapest presents (plain shared-memory images), no signal handlers of SDL's (Control+C
  // must still end the program), and no mouse capture: the canvas sees the mouse only over it.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  SDL_SetHint(SDL_HINT_MOUSE_AUTO_CAPTURE, "0");
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
  SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");

  std::string error;
  bool up = InitialiseVideo(&error);
  SDL_DisplayMode mode{};
  if (up && SDL_GetDesktopDisplayMode(0, &mode) != 0) {
    error = SDL_GetError();
    up = false;
  }
  if (up) {
    wake_event_ = SDL_RegisterEvents(1);
    // Characters come from the window system's translation of key messages.
    SDL_StopTextInput();
    if (mode.refresh_rate > 0)
      refresh_interval_ = std::chrono::microseconds(1000000 / mode.refresh_rate);
  }
  {
    std::lock_guard<std::mutex> hold(mutex_);
    if (up) {
      metrics_.width = mode.w;
      metrics_.height = mode.h;
      metrics_.bits_per_pixel = static_cast<int32_t>(SDL_BYTESPERPIXEL(mode.format)) * 8;
      metrics_.default_outer_width = mode.w * 3 / 4;
      metrics_.default_outer_height = mode.h * 3 / 4;
    }
    started_ = true;
    running_ = up;
    start_error_ = error;
  }
  changed_.notify_all();
  if (!up) {
    SDL_Quit();
    return;
  }

  for (;;) {
    const int wait = NextWaitMilliseconds();
    SDL_Event event;
    const bool got =
        wait < 0 ? SDL_WaitEvent(&event) != 0 : SDL_WaitEventTimeout(&event, wait) != 0;
    if (got) {
      HandleEvent(event);
      while (SDL_PollEvent(&event))
        HandleEvent(event);
    }
    RunRequests();
    {
      std::lock_guard<std::mutex> hold(mutex_);
      if (stopping_) break;
    }
    PresentDue();
  }

  for (auto& [id, window] : windows_)
    SDL_DestroyWindow(window->handle);
  windows_.clear();
  {
    // Requests that come now find the thread ended.
    std::lock_guard<std::mutex> hold(mutex_);
    running_ = false;
  }
  RunRequests();
  SDL_Quit();
}

bool SdlBackend::RunOnSdlThread(std::function<void()> work) {
  Request request{std::move(work)};
  std::unique_lock<std::mutex> hold(mutex_);
  if (!running_) return false;
  requests_.push_back(&request);
  hold.unlock();
  Wake();
  hold.lock();
  changed_.wait(hold, [&] { return request.done; });
  return request.ran;
}

void SdlBackend::RunRequests() {
  for (;;) {
    Request* request;
    bool run;
    {
      std::lock_guard<std::mutex> hold(mutex_);
      if (requests_.empty()) return;
      request = requests_.front();
      requests_.pop_front();
      run = running_;
    }
    if (run) request->work();
    {
      std::lock_guard<std::mutex> hold(mutex_);
      request->done = true;
      request->ran = run;
    }
    changed_.notify_all();
  }
}

void SdlBackend::Wake() {
  if (wake_pending_.exchange(true)) return;
  std::lock_guard<std::mutex> hold(mutex_);
  // Once SDL is shut down no event can be pushed; the thread has nothing left to wake for.
  if (!running_) return;
  SDL_Event event{};
  event.type = wake_event_;
  // A wake-up that could not be queued is not pending: the next one tries again.
  if (SDL_PushEvent(&event) <= 0) wake_pending_.store(false);
}

SdlWindow* SdlBackend::Find(uint32_t window_id) {
  const auto it = windows_.find(window_id);
  return it != windows_.end() ? it->second.get() : nullptr;
}

bool SdlBackend::OpenWindow(Window& window) {
  bool made = false;
  const bool ran = RunOnSdlThread([&] {
    const WindowPlacement& p = window.placement();
    const ScreenMetrics metrics = Metrics();
    const bool framed = (p.style & kStylePopup) == 0;
    const int32_t frame_width = p.outer_width - p.client_width;
    const int32_t frame_height = p.outer_height - p.client_height;
    // The largest scale up to the asked one at which the window still fits the screen.
    int scale = scale_;
    while (scale > 1 && (p.client_width * scale + frame_width > metrics.width ||
                         p.client_height * scale + frame_height > metrics.height)) {
      --scale;
    }
    const int32_t width = p.client_width * scale;
    const int32_t height = p.client_height * scale;
    // Centred as placed, also when shown larger; the system's choice where it has one.
    int x = (metrics.width - (width + frame_width)) / 2;
    int y = (metrics.height - (height + frame_height)) / 2;
    if (scale == 1) x = p.x, y = p.y;
    if (p.default_position) x = y = SDL_WINDOWPOS_UNDEFINED;
    Uint32 flags = SDL_WINDOW_HIDDEN;
    if (!framed) flags |= SDL_WINDOW_BORDERLESS;
    SDL_Window* handle =
        SDL_CreateWindow(Utf8FromLatin1(window.title()).c_str(), x, y, width, height, flags);
    if (handle == nullptr) {
      std::fprintf(stderr, "lumivex: SDL cannot make the window: %s\n", SDL_GetError());
      return;
    }
    auto sdl_window = std::make_unique<SdlWindow>(window, handle, scale);
    window.backend_data = sdl_window.get();
    windows_[SDL_GetWindowID(handle)] = std::move(sdl_window);
    made = true;
  });
  return ran && made;
}

void SdlBackend::ShowWindow(Window& window) {
  RunOnSdlThread([&] {
    auto* sdl_window = static_cast<SdlWindow*>(window.backend_data);
    if (sdl_window == nullptr) return;
    SDL_ShowWindow(sdl_window->handle);
    SDL_RaiseWindow(sdl_window->handle);
    sdl_window->shown = true;
    sdl_window->window->surface().TakeChanged();
    Present(*sdl_window);
  });
}

void SdlBackend::SurfaceChanged(Window&) {
  Wake();
}

void SdlBackend::CloseWindow(Window& window) {
  RunOnSdlThread([&] {
    auto* sdl_window = static_cast<SdlWindow*>(window.backend_data);
    if (sdl_window == nullptr) return;
    const uint32_t id = SDL_GetWindowID(sdl_window->handle);
    SDL_DestroyWindow(sdl_window->handle);
    windows_.erase(id);
    window.backend_data = nullptr;
  });
}

void SdlBackend::HandleEvent(const SDL_Event& event) {
  SdlWindow* window = nullptr;
  switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      if ((window = Find(event.key.windowID)) == nullptr) return;
      // Print Screen is the backend's own: no program hears of it.
      if (event.key.keysym.scancode == SDL_SCANCODE_PRINTSCREEN) {
        if (event.type == SDL_KEYDOWN && event.key.repeat == 0) SaveScreenshot(*window);
        return;
      }
      window->input.OnKey(event.key);
      return;
    case SDL_MOUSEMOTION:
      if ((window = Find(event.motion.windowID)) != nullptr) window->input.OnMotion(event.motion);
      return;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      if ((window = Find(event.button.windowID)) != nullptr) window->input.OnButton(event.button);
      return;
    case SDL_MOUSEWHEEL:
      if ((window = Find(event.wheel.windowID)) != nullptr) window->input.OnWheel(event.wheel);
      return;
    case SDL_WINDOWEVENT:
      if ((window = Find(event.window.windowID)) != nullptr)
        HandleWindowEvent(*window, event.window);
      return;
    default:
      // The wake-up is taken here, before the requests and changed marks it was sent for are
      // looked at, so a later wake-up sends a new event. Quit requests are ignored: the canvas
      // is never closed from outside.
      if (event.type == wake_event_) wake_pending_.store(false);
      return;
  }
}

void SdlBackend::HandleWindowEvent(SdlWindow& window, const SDL_WindowEvent& event) {
  switch (event.event) {
    case SDL_WINDOWEVENT_CLOSE:
      window.input.OnClose();
      break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
      window.input.OnFocusLost();
      break;
    case SDL_WINDOWEVENT_EXPOSED:
    case SDL_WINDOWEVENT_SIZE_CHANGED:
    case SDL_WINDOWEVENT_RESTORED:
      window.present_due = true;
      break;
    default:
      break;
  }
  if (!frame_measured_ && window.shown) MeasureFrame(window);
}

// The frame allowances: the window manager's frame around the first framed window shown, once
// it reports one. Until then (and without a window manager) the classic allowances stand.
void SdlBackend::MeasureFrame(SdlWindow& window) {
  if (window.window->placement().style & kStylePopup) return;
  int top = 0, left = 0, bottom = 0, right = 0;
  if (SDL_GetWindowBordersSize(window.handle, &top, &left, &bottom, &right) != 0) return;
  if (top <= 0 || left < 0 || bottom < 0 || top < bottom) return;
  std::lock_guard<std::mutex> hold(mutex_);
  metrics_.dialog_frame_width = left;
  metrics_.dialog_frame_height = bottom;
  metrics_.caption_height = top - bottom;
  frame_measured_ = true;
}

int SdlBackend::NextWaitMilliseconds() const {
  using std::chrono::milliseconds;
  const Clock::time_point now = Clock::now();
  Clock::duration wait = Clock::duration::max();
  for (const auto& [id, window] : windows_) {
    if (!window->shown) continue;
    // A due present waits for the refresh after the last one; otherwise the surface's changed
    // mark is looked at once per refresh.
    const Clock::duration until =
        window->present_due ? window->last_present + refresh_interval_ - now : refresh_interval_;
    wait = std::min(wait, std::max(until, Clock::duration::zero()));
  }
  if (wait == Clock::duration::max()) return -1;
  // Rounded up, so the wait does not end just before the present is allowed.
  return static_cast<int>((wait + milliseconds(1) - Clock::duration(1)) / milliseconds(1));
}

void SdlBackend::PresentDue() {
  const Clock::time_point now = Clock::now();
  for (auto& [id, window] : windows_) {
    if (!window->shown) continue;
    if (window->window->surface().TakeChanged()) window->present_due = true;
    if (window->present_due && now - window->last_present >= refresh_interval_) Present(*window);
  }
}

void SdlBackend::CopySurface(SdlWindow& window) {
  Bitmap& surface = window.window->surface();
  const size_t count = static_cast<size_t>(surface.width()) * static_cast<size_t>(surface.height());
  window.frame.resize(count);
  ReentrantLock* lock = window.window->surface_lock();
  if (lock == nullptr) return;  // not painted yet: the frame stays black
  std::lock_guard<ReentrantLock> hold(*lock);
  if (count != 0) std::memcpy(window.frame.data(), surface.Row32(0), count * sizeof(uint32_t));
}

void SdlBackend::Present(SdlWindow& window) {
  window.present_due = false;
  window.last_present = Clock::now();
  CopySurface(window);
  SDL_Surface* target = SDL_GetWindowSurface(window.handle);
  if (target == nullptr) return;
  const int32_t width = window.window->surface().width();
  const int32_t height = window.window->surface().height();
  const int scale = window.scale;
  if (SDL_MUSTLOCK(target) && SDL_LockSurface(target) != 0) return;
  const SDL_PixelFormat* format = target->format;
  const uint32_t opaque = format->Amask;
  auto* pixels = static_cast<uint8_t*>(target->pixels);
  const bool eight_bit_channels =
      format->BytesPerPixel == 4 && format->Rloss == 0 && format->Gloss == 0 && format->Bloss == 0;
  if (eight_bit_channels && format->Rshift == 16 && format->Gshift == 8 && format->Bshift == 0) {
    ScaleInto<16, 8, 0>(window.frame.data(), width, height, scale, pixels, target->pitch, target->w,
                        target->h, opaque);
  } else if (eight_bit_channels && format->Rshift == 0 && format->Gshift == 8 &&
             format->Bshift == 16) {
    ScaleInto<0, 8, 16>(window.frame.data(), width, height, scale, pixels, target->pitch, target->w,
                        target->h, opaque);
  } else {
    // Any other format: scaled here, converted by SDL.
    const int32_t out_width = std::min(target->w, width * scale);
    const int32_t out_height = std::min(target->h, height * scale);
    window.scaled.resize(static_cast<size_t>(out_width) * static_cast<size_t>(out_height));
    ScaleInto<0, 8, 16>(window.frame.data(), width, height, scale,
                        reinterpret_cast<uint8_t*>(window.scaled.data()), out_width * 4, out_width,
                        out_height, 0);
    SDL_ConvertPixels(out_width, out_height, SDL_PIXELFORMAT_XBGR8888, window.scaled.data(),
                      out_width * 4, format->format, pixels, target->pitch);
  }
  if (SDL_MUSTLOCK(target)) SDL_UnlockSurface(target);
  SDL_UpdateWindowSurface(window.handle);
}

void SdlBackend::SaveScreenshot(SdlWindow& window) {
  CopySurface(window);
  const std::string stem = "lumivex-" + FileNamePart(window.window->title()) + "-";
  // The first number not taken, so earlier pictures are never overwritten.
  for (int n = 1; n < 1000000; ++n) {
    const std::string path = stem + std::to_string(n) + ".png";
    if (access(path.c_str(), F_OK) == 0) continue;
    std::string error;
    if (WritePng(path, window.window->surface().width(), window.window->surface().height(),
                 window.frame, &error)) {
      std::fprintf(stderr, "lumivex: saved %s\n", path.c_str());
    } else {
      std::fprintf(stderr, "lumivex: cannot save %s: %s\n", path.c_str(), error.c_str());
    }
    return;
  }
}

SdlBackend* g_sdl_backend = nullptr;

}  // namespace

DisplayBackend* MakeSdlBackend(bool report_failure) {
  auto backend = std::make_unique<SdlBackend>();
  std::string error;
  if (!backend->Start(&error)) {
    if (report_failure)
      std::fprintf(stderr, "lumivex: no window can be opened: %s\n", error.c_str());
    return nullptr;
  }
  g_sdl_backend = backend.release();
  // Runs after the library's own end (which closes an open canvas), as it was registered first.
  std::atexit([] { g_sdl_backend->Stop(); });
  return g_sdl_backend;
}

}  // namespace lumivex
