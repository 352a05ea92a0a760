// Test-only probes into the canvas.
#include "testing.h"

#include <dirent.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "canvas_state.h"
#include "input_injection.h"

namespace lumivex::testing {

uint32_t PageValue(int page, int32_t x, int32_t y) {
  CanvasState& canvas = Canvas();
  std::lock_guard<ReentrantLock> hold(canvas.lock);
  const Bitmap& bitmap = *canvas.pages[page];
  return bitmap.format() == PixelFormat::kIndexed8 ? bitmap.Row8(y)[x] : bitmap.Row32(y)[x];
}

uint32_t PageRgb(int page, int32_t x, int32_t y) {
  CanvasState& canvas = Canvas();
  std::lock_guard<ReentrantLock> hold(canvas.lock);
  return canvas.pages[page]->RgbAt(x, y);
}

uint32_t PageColourTable(int page, int index) {
  CanvasState& canvas = Canvas();
  std::lock_guard<ReentrantLock> hold(canvas.lock);
  return canvas.pages[page]->colour_table(index);
}

void FlushPainting() {
  RunOnWindowThread([](Window* window) {
    if (window != nullptr) UpdateWindow(window);
  });
}

uint32_t SurfaceRgb(int32_t x, int32_t y) {
  FlushPainting();
  CanvasState& canvas = Canvas();
  std::lock_guard<ReentrantLock> hold(canvas.lock);
  return canvas.window->surface().Row32(y)[x];
}

WindowPlacement Placement() {
  return Canvas().placement;
}
std::string WindowTitle() {
  return Canvas().title;
}

int LogicalPaletteCount() {
  return Canvas().palette.count();
}
uint32_t LogicalPaletteEntry(int index) {
  return Canvas().palette.entry(index);
}
uint32_t ColourTableEntry(int index) {
  return Canvas().colour_table[index];
}

int ProcessThreadCount() {
  int count = 0;
  if (DIR* dir = opendir("/proc/self/task")) {
    while (dirent* entry = readdir(dir)) {
      if (entry->d_name[0] != '.') ++count;
    }
    closedir(dir);
  }
  return count;
}

int ProcessThreadCountSettlingAt(int expected) {
  int count = ProcessThreadCount();
  for (int i = 0; i < 100 && count != expected; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    count = ProcessThreadCount();
  }
  return count;
}

int LibraryThreadCount(const std::string& name_prefix) {
  int count = 0;
  if (DIR* dir = opendir("/proc/self/task")) {
    while (dirent* entry = readdir(dir)) {
      if (entry->d_name[0] == '.') continue;
      std::ifstream comm(std::string("/proc/self/task/") + entry->d_name + "/comm");
      std::string name;
      std::getline(comm, name);
      if (name.rfind(name_prefix, 0) == 0) ++count;
    }
    closedir(dir);
  }
  return count;
}

bool SendToWindow(uint32_t message, uint32_t first, uint32_t second) {
  return InjectMessages({{message, first, second}});
}

}  // namespace lumivex::testing
