// Running a program of build/bin headless, with a script, environment and time limit, and reading
// the PNG shots it saved.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace lumivex::testing {

struct RunResult {
  int exit_code = -1;      // the exit status, or -1 when killed
  bool timed_out = false;  // killed at the time limit
  std::string output;      // standard output
  std::string errors;      // standard error
};

struct RunOptions {
  std::string script;  // the text of LUMIVEX_SCRIPT; none when empty
  std::vector<std::pair<std::string, std::string>> environment;  // added to the defaults
  std::string input;                                             // standard input
  std::chrono::milliseconds time_limit{20000};
};

// Runs build/bin/<name> with LUMIVEX_BACKEND=headless (unless given), a fresh working directory
// and the options.
RunResult RunProgram(const std::string& name, const RunOptions& options);

// Runs a program whose window cannot be opened (the SDL backend without any display) and checks
// that it ends at once, with a non-zero status and "<name>: the window could not be opened" on
// standard error, instead of waiting for a key that can never come.
void ExpectEndsWhenTheWindowCannotOpen(const std::string& name, const std::string& input = "");

// A directory of its own for the running test, made on first use under $TEST_TMPDIR (ctest sets
// it to the build tree's test-output) or /tmp.
std::string TestDirectory();

struct Picture {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint32_t> pixels;  // RGB, red in the low byte

  uint32_t At(int32_t x, int32_t y) const {
    return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
  }
};

// False when the file is missing or not a readable PNG.
bool ReadPng(const std::string& path, Picture* picture);

// 0xRRGGBB (as colours are usually quoted) to the library's RGB order.
constexpr uint32_t FromHex(uint32_t rrggbb) {
  return ((rrggbb >> 16) & 0xFF) | (rrggbb & 0xFF00) | ((rrggbb & 0xFF) << 16);
}

}  // namespace lumivex::testing
