// A private X server (Xvfb) for the real-window tests, the tools that drive it (xdotool for
// input, ImageMagick's import for reading a window back), and the window probe program run as
// a child process that the test talks to line by line.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <utility>
#include <vector>

namespace lumivex::testing {

// The Xvfb screen the tests run on.
inline constexpr int kScreenWidth = 1600;
inline constexpr int kScreenHeight = 1200;

// Starts Xvfb on a free display and sets DISPLAY for this process and its children; false
// (with the reason) when it cannot be started.
bool StartXServer(std::string* error);
void StopXServer();

// Runs a shell command (time-limited) and returns its standard output; *status gets its exit
// status when given.
std::string Shell(const std::string& command, int* status = nullptr);

// The X window whose title is exactly `title`, waiting up to the time limit for it; 0 if none.
unsigned long FindWindow(const std::string& title,
                         std::chrono::milliseconds limit = std::chrono::seconds(30));

struct WindowGeometry {
  int x = 0, y = 0, width = 0, height = 0;
};
WindowGeometry GeometryOf(unsigned long window);

// Asks the window to close, as a window manager does for its close button.
bool RequestClose(unsigned long window);

// Variables for a child process: name and value (an empty value removes the variable).
using Environment = std::vector<std::pair<std::string, std::string>>;

// The window probe (window_probe.cc) as a child process.
class Probe {
 public:
  // Starts the probe in a working directory of its own, with LUMIVEX_BACKEND=sdl and these
  // variables.
  explicit Probe(const Environment& environment = {});
  ~Probe();
  Probe(const Probe&) = delete;
  Probe& operator=(const Probe&) = delete;

  void Send(const std::string& line);
  // The next line of output, or "" when none comes within the limit.
  std::string NextLine(std::chrono::milliseconds limit = std::chrono::seconds(30));
  // Lines until one starts with `prefix` (returned); "" when none comes within the limit.
  std::string WaitFor(const std::string& prefix,
                      std::chrono::milliseconds limit = std::chrono::seconds(30));
  // Closes the probe's input and waits for it to end; its exit status, -1 if killed.
  int Finish();
  const std::string& directory() const { return directory_; }
  const std::string& errors();

 private:
  pid_t pid_ = -1;
  int input_ = -1;
  int output_ = -1;
  int errors_fd_ = -1;
  std::string buffer_;
  std::string errors_;
  std::string directory_;
};

}  // namespace lumivex::testing
