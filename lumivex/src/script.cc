// The script interface: parsing LUMIVEX_SCRIPT and running its steps on a thread of their own.
//
// The program's thread reports the counted calls (OnShowPage, OnPoll, OnIdle, OnCanvasOpened).
// When such a call satisfies the step the script waits for, the program's thread is held there
// until the script reaches its next waiting step or its end; the steps in between (keys, mouse,
// shots) therefore act at the same point of the program on every run.
#include "script.h"

#include <pthread.h>

#include <cctype>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <mutex>
#include <sstream>
#include <thread>

#include "input_injection.h"
#include "platform/messages.h"

namespace lumivex::script {

std::atomic<bool> g_active{false};

namespace {

// ---------------------------------------------------------------------------------------------
// Parsing

struct NamedKey {
  const char* name;
  uint32_t virtual_key;
  bool shift;
};

constexpr NamedKey kNamedKeys[] = {
    {"Escape", kVkEscape, false},     {"Enter", kVkEnter, false},
    {"Space", kVkSpace, false},       {"Backspace", kVkBackspace, false},
    {"Tab", kVkTab, false},           {"Up", kVkUp, false},
    {"Down", kVkDown, false},         {"Left", kVkLeft, false},
    {"Right", kVkRight, false},       {"Home", kVkHome, false},
    {"End", kVkEnd, false},           {"PageUp", kVkPageUp, false},
    {"PageDown", kVkPageDown, false}, {"Insert", kVkInsert, false},
    {"Delete", kVkDelete, false},     {"Pause", kVkPause, false},
    {"Apps", kVkApps, false},         {"PrintScreen", kVkPrintScreen, false},
    {"KP5", kVkClear, false},         {"KP*", kVkMultiply, false},
    {"KP+", kVkAdd, false},           {"KP-", kVkSubtract, false},
    {"KP.", kVkDecimal, false},       {"KP/", kVkDivide, false},
};

// The US layout's printable characters other than letters and digits.
struct PrintableKey {
  char character;
  uint32_t virtual_key;
  bool shift;
};

constexpr PrintableKey kPrintable[] = {
    {' ', kVkSpace, false},        {'*', kVk0 + 8, true},
    {'+', kVkEquals, true},        {'-', kVkMinus, false},
    {'/', kVkSlash, false},        {'=', kVkEquals, false},
    {'_', kVkMinus, true},         {'.', kVkPeriod, false},
    {'>', kVkPeriod, true},        {',', kVkComma, false},
    {'<', kVkComma, true},         {';', kVkSemicolon, false},
    {':', kVkSemicolon, true},     {'?', kVkSlash, true},
    {'`', kVkBackquote, false},    {'~', kVkBackquote, true},
    {'[', kVkLeftBracket, false},  {'{', kVkLeftBracket, true},
    {']', kVkRightBracket, false}, {'}', kVkRightBracket, true},
    {'\\', kVkBackslash, false},   {'|', kVkBackslash, true},
    {'\'', kVkQuote, false},       {'"', kVkQuote, true},
    {'!', kVk0 + 1, true},         {'@', kVk0 + 2, true},
    {'$', kVk0 + 4, true},         {'%', kVk0 + 5, true},
    {'^', kVk0 + 6, true},         {'&', kVk0 + 7, true},
    {'(', kVk0 + 9, true},         {')', kVk0, true},
};

bool ParseKeyName(const std::string& name, KeyStroke* stroke) {
  if (name.size() == 1) return StrokeForCharacter(name[0], stroke);
  for (const NamedKey& key : kNamedKeys) {
    if (name == key.name) {
      *stroke = KeyStroke{key.virtual_key, key.shift, false, false};
      return true;
    }
  }
  if (name.size() >= 2 && name[0] == 'F' && std::isdigit(static_cast<unsigned char>(name[1]))) {
    char* end = nullptr;
    const long n = std::strtol(name.c_str() + 1, &end, 10);
    if (*end == '\0' && n >= 1 && n <= 12) {
      *stroke = KeyStroke{kVkF1 + static_cast<uint32_t>(n - 1), false, false, false};
      return true;
    }
  }
  return false;
}

bool ParseInteger(const std::string& word, int64_t low, int64_t high, int64_t* value) {
  if (word.empty()) return false;
  char* end = nullptr;
  errno = 0;
  const long long n = std::strtoll(word.c_str(), &end, 10);
  if (*end != '\0' || errno != 0 || n < low || n > high) return false;
  *value = n;
  return true;
}

std::vector<std::string> SplitWords(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> words;
  for (std::string w; in >> w;)
    words.push_back(w);
  return words;
}

// The text after the first word and the blanks that follow it.
std::string RestOfLine(const std::string& line) {
  size_t start = line.find_first_not_of(" \t");
  start = line.find_first_of(" \t", start);
  if (start == std::string::npos) return "";
  start = line.find_first_not_of(" \t", start);
  if (start == std::string::npos) return "";
  size_t end = line.find_last_not_of(" \t\r");
  return line.substr(start, end - start + 1);
}

}  // namespace

bool StrokeForCharacter(char c, KeyStroke* stroke) {
  if (c >= 'a' && c <= 'z') {
    *stroke = KeyStroke{kVkA + static_cast<uint32_t>(c - 'a'), false, false, false};
    return true;
  }
  if (c >= 'A' && c <= 'Z') {
    *stroke = KeyStroke{kVkA + static_cast<uint32_t>(c - 'A'), true, false, false};
    return true;
  }
  if (c >= '0' && c <= '9') {
    *stroke = KeyStroke{kVk0 + static_cast<uint32_t>(c - '0'), false, false, false};
    return true;
  }
  for (const PrintableKey& p : kPrintable) {
    if (p.character == c) {
      *stroke = KeyStroke{p.virtual_key, p.shift, false, false};
      return true;
    }
  }
  return false;
}

bool ParseKeySpec(const std::string& key_text, KeyStroke* stroke) {
  // The key is the last part; "+" and names ending in "+" ("KP+", "Ctrl++") are keys too.
  size_t split;
  if (key_text.size() >= 2 && key_text.compare(key_text.size() - 2, 2, "++") == 0) {
    split = key_text.size() - 2;
  } else if (key_text.size() >= 3 && key_text.compare(key_text.size() - 3, 3, "KP+") == 0) {
    split = key_text.size() - 3 == 0 ? std::string::npos : key_text.size() - 4;
  } else if (key_text == "+") {
    split = std::string::npos;
  } else {
    split = key_text.rfind('+');
  }
  const std::string key = split == std::string::npos ? key_text : key_text.substr(split + 1);
  if (!ParseKeyName(key, stroke)) return false;
  if (split == std::string::npos) return true;
  if (key_text[split] != '+') return false;
  std::string modifiers = key_text.substr(0, split);
  size_t start = 0;
  while (start <= modifiers.size()) {
    size_t end = modifiers.find('+', start);
    if (end == std::string::npos) end = modifiers.size();
    const std::string m = modifiers.substr(start, end - start);
    if (m == "Shift") {
      stroke->shift = true;
    } else if (m == "Ctrl") {
      stroke->control = true;
    } else if (m == "Alt") {
      stroke->alt = true;
    } else {
      return false;
    }
    start = end + 1;
  }
  return true;
}

bool ParseScript(const std::string& text, const std::string& file_name, std::vector<Step>* steps,
                 std::string* error) {
  std::istringstream in(text);
  int line_number = 0;
  auto fail = [&](const std::string& message, const std::string& word) {
    *error = file_name + ":" + std::to_string(line_number) + ": " + message + " '" + word + "'";
    return false;
  };
  constexpr int64_t kMaxCount = std::numeric_limits<int64_t>::max() / 2;
  for (std::string raw; std::getline(in, raw);) {
    ++line_number;
    const std::string line = raw.substr(0, raw.find('#'));
    const std::vector<std::string> words = SplitWords(line);
    if (words.empty()) continue;
    Step step;
    step.line = line_number;
    const std::string& verb = words[0];
    auto expect_words = [&](size_t low, size_t high) {
      if (words.size() < low) return fail("missing argument after", words.back());
      if (words.size() > high) return fail("unexpected word", words[high]);
      return true;
    };
    if (verb == "wait") {
      if (words.size() < 2) return fail("missing argument after", verb);
      const std::string& what = words[1];
      if (what == "idle") {
        if (!expect_words(2, 2)) return false;
        step.kind = StepKind::kWaitIdle;
      } else {
        if (what == "shows") {
          step.kind = StepKind::kWaitShows;
        } else if (what == "polls") {
          step.kind = StepKind::kWaitPolls;
        } else if (what == "opens") {
          step.kind = StepKind::kWaitOpens;
        } else if (what == "ms") {
          step.kind = StepKind::kWaitMilliseconds;
        } else {
          return fail("unknown wait", what);
        }
        if (!expect_words(3, 3)) return false;
        if (!ParseInteger(words[2], 0, kMaxCount, &step.count)) {
          return fail("not a number", words[2]);
        }
      }
    } else if (verb == "key") {
      if (!expect_words(2, 2)) return false;
      KeyStroke stroke;
      if (!ParseKeySpec(words[1], &stroke)) return fail("unknown key", words[1]);
      step.kind = StepKind::kKey;
      step.strokes.push_back(stroke);
    } else if (verb == "text") {
      step.kind = StepKind::kText;
      const std::string typed = RestOfLine(line);
      if (typed.empty()) return fail("missing argument after", verb);
      for (char c : typed) {
        KeyStroke stroke;
        if (!StrokeForCharacter(c, &stroke)) return fail("no key types", std::string(1, c));
        step.strokes.push_back(stroke);
      }
    } else if (verb == "mouse" || verb == "wheel") {
      if (!expect_words(3, verb == "mouse" ? 8 : 3)) return false;
      int64_t x = 0, y = 0;
      if (!ParseInteger(words[1], -32768, 32767, &x)) return fail("not a coordinate", words[1]);
      if (!ParseInteger(words[2], -32768, 32767, &y)) return fail("not a coordinate", words[2]);
      step.kind = verb == "mouse" ? StepKind::kMouse : StepKind::kWheel;
      step.x = static_cast<int32_t>(x);
      step.y = static_cast<int32_t>(y);
      for (size_t i = 3; i < words.size(); ++i) {
        const std::string& flag = words[i];
        if (flag == "left") {
          step.mouse_flags |= kMkLeftButton;
        } else if (flag == "right") {
          step.mouse_flags |= kMkRightButton;
        } else if (flag == "middle") {
          step.mouse_flags |= kMkMiddleButton;
        } else if (flag == "shift") {
          step.mouse_flags |= kMkShift;
        } else if (flag == "ctrl") {
          step.mouse_flags |= kMkControl;
        } else {
          return fail("unknown mouse flag", flag);
        }
      }
    } else if (verb == "close") {
      if (!expect_words(1, 1)) return false;
      step.kind = StepKind::kClose;
    } else if (verb == "shot") {
      step.kind = StepKind::kShot;
      step.path = RestOfLine(line);
      if (step.path.empty()) return fail("missing argument after", verb);
    } else {
      return fail("unknown step", verb);
    }
    steps->push_back(step);
  }
  return true;
}

namespace {

// ---------------------------------------------------------------------------------------------
// Running

constexpr int kNoWait = -1;

struct Runner {
  std::mutex mutex;
  std::condition_variable changed;
  std::vector<Step> steps;
  // Counted calls, written by the program's thread only.
  std::atomic<int64_t> shows{0};
  std::atomic<int64_t> polls{0};
  std::atomic<int64_t> opens{0};
  // The poll count at which OnPoll must look; polls are too frequent to take the mutex each.
  std::atomic<int64_t> poll_target{std::numeric_limits<int64_t>::max()};
  // Under mutex.
  int waiting = kNoWait;  // a StepKind
  int64_t target = 0;
  bool satisfied = false;
  bool holding_program = false;
  bool stopping = false;
  std::thread thread;
};

Runner* g_runner = nullptr;  // made at program start, never destroyed

int64_t CountOf(Runner& runner, StepKind kind) {
  switch (kind) {
    case StepKind::kWaitShows:
      return runner.shows.load(std::memory_order_relaxed);
    case StepKind::kWaitPolls:
      return runner.polls.load(std::memory_order_relaxed);
    case StepKind::kWaitOpens:
      return runner.opens.load(std::memory_order_relaxed);
    default:
      return 0;
  }
}

// Program's thread: a counted call happened.
void Arrive(StepKind kind, int64_t count) {
  Runner& runner = *g_runner;
  std::unique_lock<std::mutex> hold(runner.mutex);
  if (runner.waiting != static_cast<int>(kind)) return;
  if (kind != StepKind::kWaitIdle && count < runner.target) return;
  runner.waiting = kNoWait;
  runner.poll_target.store(std::numeric_limits<int64_t>::max(), std::memory_order_relaxed);
  runner.satisfied = true;
  runner.holding_program = true;
  runner.changed.notify_all();
  runner.changed.wait(hold, [&] { return !runner.holding_program || runner.stopping; });
}

void ReleaseProgram(Runner& runner) {
  runner.holding_program = false;
  runner.changed.notify_all();
}

void ReportFailure(const Step& step, const std::string& what) {
  std::fprintf(stderr, "lumivex: script line %d: %s\n", step.line, what.c_str());
}

void RunAction(const Step& step) {
  switch (step.kind) {
    case StepKind::kKey:
    case StepKind::kText:
      for (const KeyStroke& stroke : step.strokes)
        InjectKeyStroke(stroke);
      break;
    case StepKind::kMouse:
      InjectMouse(step.x, step.y, step.mouse_flags);
      break;
    case StepKind::kWheel:
      InjectWheel(step.x, step.y);
      break;
    case StepKind::kClose:
      InjectClose();
      break;
    case StepKind::kShot: {
      std::string error;
      if (!SaveWindowPng(step.path, &error))
        ReportFailure(step, "shot " + step.path + ": " + error);
      break;
    }
    default:
      break;
  }
}

void RunScript(Runner& runner) {
  pthread_setname_np(pthread_self(), "lumivex-script");
  for (const Step& step : runner.steps) {
    std::unique_lock<std::mutex> hold(runner.mutex);
    if (runner.stopping) return;
    switch (step.kind) {
      case StepKind::kWaitIdle:
      case StepKind::kWaitShows:
      case StepKind::kWaitPolls:
      case StepKind::kWaitOpens: {
        if (step.kind != StepKind::kWaitIdle && CountOf(runner, step.kind) >= step.count) break;
        // Set the wait up before letting the program go, so no counted call slips past it.
        runner.waiting = static_cast<int>(step.kind);
        runner.target = step.count;
        runner.satisfied = false;
        if (step.kind == StepKind::kWaitPolls) {
          runner.poll_target.store(step.count, std::memory_order_relaxed);
        }
        ReleaseProgram(runner);
        runner.changed.wait(hold, [&] { return runner.satisfied || runner.stopping; });
        runner.satisfied = false;
        break;
      }
      case StepKind::kWaitMilliseconds:
        ReleaseProgram(runner);
        runner.changed.wait_for(hold, std::chrono::milliseconds(step.count),
                                [&] { return runner.stopping; });
        break;
      default:
        hold.unlock();
        RunAction(step);
        break;
    }
  }
  std::lock_guard<std::mutex> hold(runner.mutex);
  ReleaseProgram(runner);
  g_active.store(false, std::memory_order_relaxed);
}

}  // namespace

void StartFromEnvironment() {
  const char* file = std::getenv("LUMIVEX_SCRIPT");
  if (file == nullptr || *file == '\0') return;
  std::ifstream in(file);
  if (!in) {
    std::fprintf(stderr, "lumivex: cannot read the script %s\n", file);
    std::exit(2);
  }
  std::stringstream text;
  text << in.rdbuf();
  auto* runner = new Runner();
  std::string error;
  if (!ParseScript(text.str(), file, &runner->steps, &error)) {
    std::fprintf(stderr, "lumivex: %s\n", error.c_str());
    std::exit(2);
  }
  g_runner = runner;
  g_active.store(true, std::memory_order_relaxed);
  runner->thread = std::thread(RunScript, std::ref(*runner));
}

void Stop() {
  Runner* runner = g_runner;
  if (runner == nullptr) return;
  {
    std::lock_guard<std::mutex> hold(runner->mutex);
    runner->stopping = true;
    runner->holding_program = false;
  }
  runner->changed.notify_all();
  if (runner->thread.joinable()) runner->thread.join();
  g_active.store(false, std::memory_order_relaxed);
}

void OnShowPage() {
  Runner& runner = *g_runner;
  const int64_t count = runner.shows.load(std::memory_order_relaxed) + 1;
  runner.shows.store(count, std::memory_order_relaxed);
  Arrive(StepKind::kWaitShows, count);
}

void OnPoll() {
  Runner& runner = *g_runner;
  const int64_t count = runner.polls.load(std::memory_order_relaxed) + 1;
  runner.polls.store(count, std::memory_order_relaxed);
  if (count >= runner.poll_target.load(std::memory_order_relaxed)) {
    Arrive(StepKind::kWaitPolls, count);
  }
}

void OnIdle() {
  Arrive(StepKind::kWaitIdle, 0);
}

void OnCanvasOpened() {
  Runner& runner = *g_runner;
  const int64_t count = runner.opens.load(std::memory_order_relaxed) + 1;
  runner.opens.store(count, std::memory_order_relaxed);
  Arrive(StepKind::kWaitOpens, count);
}

}  // namespace lumivex::script
