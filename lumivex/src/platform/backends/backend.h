// The display backend: what stands between our window system and a real (or no) display.
//
// One backend serves the process, chosen once (LUMIVEX_BACKEND: "sdl" or "headless"; without
// it, a real display when one can be opened, else headless). The window system calls it when a
// window is made, shown and destroyed, and after painting; mirrored drawing only marks the
// window surface as changed, so there is never a call per pixel. A backend with a real display
// posts its input to the window's queue as key, character and mouse messages.
#pragma once

#include <cstdint>

namespace lumivex {

class Window;

struct ScreenMetrics {
  int32_t width = 1280;
  int32_t height = 1024;
  int32_t dialog_frame_width = 3;
  int32_t dialog_frame_height = 3;
  int32_t caption_height = 23;
  int32_t bits_per_pixel = 32;
  // Where a window goes whose size the system chooses (outer size and position).
  int32_t default_x = 26;
  int32_t default_y = 26;
  int32_t default_outer_width = 960;
  int32_t default_outer_height = 768;
};

class DisplayBackend {
 public:
  virtual ~DisplayBackend() = default;

  virtual const char* name() const = 0;
  virtual ScreenMetrics Metrics() = 0;

  // Makes the on-screen part of a window just created (hidden) on the calling thread.
  // False when it cannot be made.
  virtual bool OpenWindow(Window& window) = 0;
  virtual void ShowWindow(Window& window) = 0;
  // The window surface was painted; called on the window's thread.
  virtual void SurfaceChanged(Window& window) = 0;
  virtual void CloseWindow(Window& window) = 0;
};

// The process's backend, chosen on first use.
DisplayBackend& Backend();

// The headless backend: no display, a virtual screen (LUMIVEX_SCREEN=WIDTHxHEIGHT, else
// 1280 x 1024) with fixed frame sizes.
DisplayBackend* MakeHeadlessBackend();

}  // namespace lumivex
