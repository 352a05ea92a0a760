// A small program for the real-window tests: it opens and closes canvases as its standard input
// tells it, draws a known picture, and reports on standard output every key code it takes and
// every change of the mouse values, one line each.
//
// Commands (one a line):
//   open DRIVER MODE TITLE   open a canvas and draw the picture -> "opened STATUS MAXX MAXY"
//   close                    -> "closed STATUS THREADS" (threads of the process afterwards)
//   flicker MS               show two pages (red, blue) alternately for MS milliseconds
//                            -> "flickered"
//   save PATH                save the window surface as a PNG -> "saved"
//   quit                     end the program (with the canvas still open, if it is)
// Reports: "key CODE", "mouse X Y BUTTONS"; "threads N" at the start.
#include <lumivex/lumivex.h>
#include <lumivex/mouse.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>
#include <utility>

#include "input_injection.h"
#include "testing.h"

namespace {

void Report(const std::string& line) {
  std::cout << line << std::endl;  // flushed: the test reads line by line
}

// Page 1: bands of palette colours (or RGB in true colour), shown with a page flip; then, with
// page 1 both drawn and shown, a diagonal and a small square drawn straight into the window.
void DrawPicture() {
  const int16_t width = static_cast<int16_t>(MaxX() + 1);
  const int16_t height = static_cast<int16_t>(MaxY() + 1);
  Colour bands[64];
  for (int i = 0; i < 64; ++i) {
    bands[i] = ColourFromRGB(static_cast<uint16_t>(i * 4), static_cast<uint16_t>(255 - i * 4),
                             static_cast<uint16_t>((i * 37) & 0xFF));
  }
  SetDrawPage(1);
  for (int16_t y = 0; y < height; ++y) {
    for (int16_t x = 0; x < width; ++x)
      PlotPixel(x, y, bands[(x / 8 + y / 4) % 64]);
  }
  SetShowPage(1);
  const Colour white = PredefinedColours[250];
  for (int16_t i = 0; i < width && i < height; ++i)
    PlotPixel(i, i, white);
  for (int16_t y = 10; y < 30; ++y) {
    for (int16_t x = 40; x < 60; ++x)
      PlotPixel(x, y, white);
  }
}

void Flicker(int milliseconds) {
  const Colour colours[2] = {ColourFromRGB(255, 0, 0), ColourFromRGB(0, 0, 255)};
  const int16_t width = static_cast<int16_t>(MaxX() + 1);
  const int16_t height = static_cast<int16_t>(MaxY() + 1);
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  for (int i = 0; i < 2 || std::chrono::steady_clock::now() < end; ++i) {
    const uint16_t page = static_cast<uint16_t>(2 + i % 2);
    SetDrawPage(page);
    for (int16_t y = 0; y < height; ++y) {
      for (int16_t x = 0; x < width; ++x)
        PlotPixel(x, y, colours[i % 2]);
    }
    SetShowPage(page);
  }
}

// Command lines from standard input, read without blocking. Several lines may arrive in one
// read; each is handed out in turn before the input is polled again.
class CommandReader {
 public:
  enum class Result { kLine, kNothingYet, kEnded };

  Result Next(std::string* line) {
    for (;;) {
      const size_t newline = pending_.find('\n');
      if (newline != std::string::npos) {
        *line = pending_.substr(0, newline);
        pending_.erase(0, newline + 1);
        return Result::kLine;
      }
      if (ended_) {
        if (pending_.empty()) return Result::kEnded;
        *line = std::move(pending_);
        pending_.clear();
        return Result::kLine;
      }
      pollfd fd{0, POLLIN, 0};
      if (poll(&fd, 1, 0) <= 0) return Result::kNothingYet;
      char buffer[4096];
      const ssize_t n = read(0, buffer, sizeof buffer);
      if (n <= 0) {
        ended_ = true;
      } else {
        pending_.append(buffer, static_cast<size_t>(n));
      }
    }
  }

 private:
  std::string pending_;
  bool ended_ = false;
};

}  // namespace

int main() {
  const int threads = lumivex::testing::ProcessThreadCount();
  Report("threads " + std::to_string(threads));
  int16_t mouse_x = 0, mouse_y = 0;
  uint16_t mouse_buttons = 0;
  CommandReader commands;
  for (;;) {
    while (CanvasIsOpen() && KeyWaiting())
      Report("key " + std::to_string(NextKey()));
    if (MouseX() != mouse_x || MouseY() != mouse_y || MouseButtons() != mouse_buttons) {
      mouse_x = MouseX();
      mouse_y = MouseY();
      mouse_buttons = MouseButtons();
      Report("mouse " + std::to_string(mouse_x) + " " + std::to_string(mouse_y) + " " +
             std::to_string(mouse_buttons));
    }
    std::string line;
    const CommandReader::Result next = commands.Next(&line);
    if (next == CommandReader::Result::kEnded) return 0;
    if (next == CommandReader::Result::kNothingYet) {
      Pause(2);
      continue;
    }
    std::istringstream words(line);
    std::string command;
    words >> command;
    if (command == "open") {
      int16_t driver = 0, mode = 0;
      std::string title;
      words >> driver >> mode;
      std::getline(words >> std::ws, title);
      OpenCanvas(driver, mode, title.c_str());
      const int16_t status = CanvasStatus();
      if (CanvasIsOpen()) DrawPicture();
      Report("opened " + std::to_string(status) + " " + std::to_string(MaxX()) + " " +
             std::to_string(MaxY()));
    } else if (command == "close") {
      CloseCanvas();
      const int16_t status = CanvasStatus();
      Report("closed " + std::to_string(status) + " " +
             std::to_string(lumivex::testing::ProcessThreadCountSettlingAt(threads)));
    } else if (command == "flicker") {
      int milliseconds = 0;
      words >> milliseconds;
      Flicker(milliseconds);
      Report("flickered");
    } else if (command == "save") {
      std::string path, error;
      words >> path;
      Report(lumivex::SaveWindowPng(path, &error) ? "saved" : "not saved: " + error);
    } else if (command == "quit") {
      return 0;
    }
  }
}
