// Chooses the process's display backend once, from LUMIVEX_BACKEND and what is available.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "platform/backends/backend.h"

namespace lumivex {

#ifdef LUMIVEX_HAVE_SDL
// Made only when a display can be opened; nullptr otherwise.
DisplayBackend* MakeSdlBackend(bool report_failure);
#endif

namespace {

DisplayBackend* ChooseBackend() {
  const char* wanted = std::getenv("LUMIVEX_BACKEND");
  if (wanted != nullptr && std::strcmp(wanted, "headless") == 0) return MakeHeadlessBackend();
  if (wanted != nullptr && std::strcmp(wanted, "sdl") == 0) {
#ifdef LUMIVEX_HAVE_SDL
    if (DisplayBackend* sdl = MakeSdlBackend(true)) return sdl;
#else
    std::fprintf(stderr, "lumivex: this build has no SDL2 backend; windows cannot be opened\n");
#endif
    return nullptr;  // windows fail to open
  }
  if (wanted != nullptr && *wanted != '\0') {
    std::fprintf(stderr, "lumivex: unknown LUMIVEX_BACKEND=%s; choosing one\n", wanted);
  }
#ifdef LUMIVEX_HAVE_SDL
  if (DisplayBackend* sdl = MakeSdlBackend(false)) return sdl;
  std::fprintf(stderr, "lumivex: no display could be opened; running headless\n");
#endif
  return MakeHeadlessBackend();
}

// Stands in when the chosen backend cannot exist: the screen is the default virtual screen and
// no window can be made.
class NoDisplayBackend final : public DisplayBackend {
 public:
  const char* name() const override { return "none"; }
  ScreenMetrics Metrics() override { return ScreenMetrics{}; }
  bool OpenWindow(Window&) override { return false; }
  void ShowWindow(Window&) override {}
  void SurfaceChanged(Window&) override {}
  void CloseWindow(Window&) override {}
};

}  // namespace

DisplayBackend& Backend() {
  // Never destroyed: windows may still be closing while the process ends.
  static DisplayBackend* backend = [] {
    DisplayBackend* chosen = ChooseBackend();
    return chosen != nullptr ? chosen : new NoDisplayBackend();
  }();
  return *backend;
}

}  // namespace lumivex
