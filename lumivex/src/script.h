// The script interface: LUMIVEX_SCRIPT=FILE drives a program without a person.
//
// A script is a list of steps, one a line. Waiting steps are satisfied by library calls made on
// the program's thread (SetShowPage, KeyWaiting, NextKey finding the queue empty, the end of
// OpenCanvas) or by real time; input steps reach the window thread as a real window's messages
// would. When a counted call satisfies a wait, the program's thread is held at that call until
// the script has carried out the steps up to its next wait, so what a step sees or sends is the
// same on every run.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

namespace lumivex::script {

enum class StepKind {
  kWaitIdle,
  kWaitShows,
  kWaitPolls,
  kWaitOpens,
  kWaitMilliseconds,
  kKey,
  kText,
  kMouse,
  kWheel,
  kClose,
  kShot,
};

struct KeyStroke {
  uint32_t virtual_key = 0;
  bool shift = false;
  bool control = false;
  bool alt = false;
};

struct Step {
  StepKind kind = StepKind::kWaitIdle;
  int64_t count = 0;               // waits
  std::vector<KeyStroke> strokes;  // key and text
  int32_t x = 0, y = 0;            // mouse and wheel
  uint32_t mouse_flags = 0;        // mouse: the key-state flags held
  std::string path;                // shot
  int line = 0;
};

// Parses a script; on an error returns false with "FILE:LINE: message" in *error.
bool ParseScript(const std::string& text, const std::string& file_name, std::vector<Step>* steps,
                 std::string* error);

// Parses one key name with optional modifiers ("Ctrl+Up", "A", "KP+", "Shift+Ctrl+F1").
bool ParseKeySpec(const std::string& key_text, KeyStroke* stroke);

// The strokes that type a character on the US layout; false for a character with no key.
bool StrokeForCharacter(char character, KeyStroke* stroke);

// Reads LUMIVEX_SCRIPT at program start and starts the script's thread; a bad script ends the
// program with a message naming the file, line and word.
void StartFromEnvironment();
// Stops the script's thread at program end.
void Stop();

// True while a script runs; the counted calls test it before doing anything else.
extern std::atomic<bool> g_active;

// The counted calls, made on the program's thread outside every lock.
void OnShowPage();
void OnPoll();
void OnIdle();
void OnCanvasOpened();

}  // namespace lumivex::script
