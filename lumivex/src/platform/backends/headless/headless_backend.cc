// The headless backend: windows exist only in memory, on a virtual screen.
#include <cstdio>
#include <cstdlib>

#include "platform/backends/backend.h"
#include "platform/window_system.h"

namespace lumivex {

namespace {

ScreenMetrics VirtualScreen() {
  ScreenMetrics metrics;
  if (const char* screen = std::getenv("LUMIVEX_SCREEN")) {
    int width = 0, height = 0;
    char extra = 0;
    if (std::sscanf(screen, "%dx%d%c", &width, &height, &extra) == 2 && width > 0 && height > 0 &&
        width <= 16384 && height <= 16384) {
      metrics.width = width;
      metrics.height = height;
    } else {
      std::fprintf(stderr, "lumivex: LUMIVEX_SCREEN=%s is not WIDTHxHEIGHT; using 1280x1024\n",
                   screen);
    }
  }
  metrics.default_outer_width = metrics.width * 3 / 4;
  metrics.default_outer_height = metrics.height * 3 / 4;
  return metrics;
}

class HeadlessBackend final : public DisplayBackend {
 public:
  HeadlessBackend() : metrics_(VirtualScreen()) {}

  const char* name() const override { return "headless"; }
  ScreenMetrics Metrics() override { return metrics_; }
  bool OpenWindow(Window&) override { return true; }
  void ShowWindow(Window&) override {}
  void SurfaceChanged(Window&) override {}
  void CloseWindow(Window&) override {}

 private:
  ScreenMetrics metrics_;
};

}  // namespace

DisplayBackend* MakeHeadlessBackend() {
  return new HeadlessBackend();
}

}  // namespace lumivex
