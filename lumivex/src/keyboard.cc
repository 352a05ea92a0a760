// The key queue and the keyboard hook.
//
// The queue has 32 slots numbered 1..32 and holds at most 31 codes: equal read and write
// positions mean empty. The window thread puts codes in under the key lock; the program's thread
// takes them out under the same lock. KeyWaiting compares the two positions without the lock,
// so drawing loops can ask after every pixel.
#include "keyboard.h"

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

#include "canvas_state.h"
#include "platform/messages.h"
#include "platform/window_system.h"
#include "script.h"

namespace lumivex {

namespace {

constexpr int32_t kSlots = 32;

class KeyQueue {
 public:
  // Window thread.
  void Put(uint8_t code) {
    std::lock_guard<std::mutex> hold(lock_);
    int32_t write = write_.load(std::memory_order_relaxed);
    int32_t read = read_.load(std::memory_order_relaxed);
    slots_[write] = code;
    write = Advance(write);
    if (write == read) {
      // Overflow: drop the oldest code, or the oldest extended pair with its leading 0.
      if (slots_[read] == 0) read = Advance(read);
      read = Advance(read);
      read_.store(read, std::memory_order_relaxed);
    }
    write_.store(write, std::memory_order_release);
  }

  void PutExtended(uint8_t code) {
    Put(0);
    Put(code);
  }

  void Empty() {
    std::lock_guard<std::mutex> hold(lock_);
    read_.store(1, std::memory_order_relaxed);
    write_.store(1, std::memory_order_relaxed);
  }

  bool Waiting() const {
    return read_.load(std::memory_order_relaxed) != write_.load(std::memory_order_acquire);
  }

  // Program's thread; the queue is known not to be empty.
  uint8_t Take() {
    std::lock_guard<std::mutex> hold(lock_);
    const int32_t read = read_.load(std::memory_order_relaxed);
    const uint8_t code = slots_[read];
    read_.store(Advance(read), std::memory_order_relaxed);
    return code;
  }

 private:
  static int32_t Advance(int32_t position) { return position == kSlots ? 1 : position + 1; }

  std::mutex lock_;  // the key lock
  uint8_t slots_[kSlots + 1] = {};
  std::atomic<int32_t> read_{1};
  std::atomic<int32_t> write_{1};
};

constinit KeyQueue g_keys;

struct TableRow {
  uint32_t key;
  int16_t plain, shift, control, alt;  // -1: nothing
  enum Precedence : uint8_t { kControlThenAlt, kAltOnly, kControlOnly, kPause };
  Precedence precedence;
};

constexpr int16_t kNone = -1;

// Keys whose codes the table decides. Numbers are extended codes, except Control+Tab's 30.
constexpr TableRow kTable[] = {
    {kVkBackspace, kNone, kNone, kNone, 14, TableRow::kAltOnly},
    {kVkTab, kNone, kNone, 30, kNone, TableRow::kControlOnly},
    {kVkClear, 76, 76, 143, 76, TableRow::kControlThenAlt},
    {kVkEnter, kNone, kNone, kNone, 166, TableRow::kAltOnly},
    {kVkPause, 12, 12, kNone, 169, TableRow::kPause},
    {kVkSpace, kNone, kNone, kNone, 11, TableRow::kAltOnly},
    {kVkPageUp, 73, 73, 132, 153, TableRow::kControlThenAlt},
    {kVkPageDown, 81, 81, 118, 161, TableRow::kControlThenAlt},
    {kVkEnd, 79, 79, 117, 165, TableRow::kControlThenAlt},
    {kVkHome, 71, 71, 119, 164, TableRow::kControlThenAlt},
    {kVkLeft, 75, 75, 115, 155, TableRow::kControlThenAlt},
    {kVkUp, 72, 72, 141, 152, TableRow::kControlThenAlt},
    {kVkRight, 77, 77, 116, 157, TableRow::kControlThenAlt},
    {kVkDown, 80, 80, 145, 160, TableRow::kControlThenAlt},
    {kVkInsert, 82, 82, 146, 162, TableRow::kControlThenAlt},
    {kVkDelete, 83, 83, 147, 163, TableRow::kControlThenAlt},
    {kVkApps, 151, 151, 151, 151, TableRow::kControlThenAlt},
    {kVkMultiply, kNone, kNone, 149, 70, TableRow::kControlThenAlt},
    {kVkAdd, kNone, kNone, 144, 78, TableRow::kControlThenAlt},
    {kVkSubtract, kNone, kNone, 142, 74, TableRow::kControlThenAlt},
    {kVkDecimal, kNone, kNone, 150, 114, TableRow::kControlThenAlt},
    {kVkDivide, kNone, kNone, 148, 69, TableRow::kControlThenAlt},
};

// Extended codes of Alt with the letters A..Z.
constexpr uint8_t kAltLetters[26] = {30, 48, 46, 32, 18, 33, 34, 35, 23, 36, 37, 38, 50,
                                     49, 24, 25, 16, 19, 31, 20, 22, 47, 17, 45, 21, 44};

int16_t TableCode(const TableRow& row, bool shift, bool control, bool alt) {
  switch (row.precedence) {
    case TableRow::kControlThenAlt:
      if (control) return row.control;
      if (alt) return row.alt;
      return shift ? row.shift : row.plain;
    case TableRow::kAltOnly:
      return alt ? row.alt : kNone;
    case TableRow::kControlOnly:
      return control ? row.control : kNone;
    case TableRow::kPause:
      if (alt) return row.alt;
      if (control) return kNone;
      return row.plain;
  }
  return kNone;
}

}  // namespace

std::vector<uint8_t> TranslateKey(uint32_t key, bool shift, bool control, bool alt) {
  std::vector<uint8_t> codes;
  auto put_extended = [&](int code) {
    codes.push_back(0);
    codes.push_back(static_cast<uint8_t>(code));
  };
  key &= 0xFF;
  if (key >= kVkF1 && key <= kVkF1 + 11) {
    const int k = static_cast<int>(key);
    const bool f11_or_f12 = key >= kVkF1 + 10;
    // Shift, then Control, then Alt, else plain.
    if (shift) {
      put_extended(f11_or_f12 ? k + 13 : k - 28);
    } else if (control) {
      put_extended(f11_or_f12 ? k + 15 : k - 18);
    } else if (alt) {
      put_extended(f11_or_f12 ? k + 17 : k - 8);
    } else {
      put_extended(f11_or_f12 ? k + 11 : k - 53);
    }
    return codes;
  }
  for (const TableRow& row : kTable) {
    if (row.key != key) continue;
    const int16_t code = TableCode(row, shift, control, alt);
    if (code == kNone) return codes;
    if (key == kVkTab) {
      codes.push_back(static_cast<uint8_t>(code));  // Control+Tab: a single code
    } else {
      put_extended(code);
    }
    return codes;
  }
  const bool digit = key >= kVk0 && key <= kVk0 + 9;
  if (control && digit) put_extended(key == kVk0 ? 10 : static_cast<int>(key - kVk0));
  if (alt) {
    if (digit) {
      put_extended(key == kVk0 ? 129 : static_cast<int>(key + 71));
    } else if (key >= kVkA && key <= kVkA + 25) {
      put_extended(kAltLetters[key - kVkA]);
    }
  }
  return codes;
}

namespace {

void TranslateAndQueue(uint32_t key) {
  for (uint8_t code :
       TranslateKey(key, KeyIsDown(kVkShift), KeyIsDown(kVkControl), KeyIsDown(kVkAlt))) {
    g_keys.Put(code);
  }
}

}  // namespace

int32_t KeyboardHandler(WindowHandle, uint32_t message, uint32_t first, uint32_t) {
  switch (message) {
    case kMsgCreate:
      g_keys.Empty();
      break;
    case kMsgClose:
      g_keys.PutExtended(107);
      break;
    case kMsgKeyDown:
      if (first != kVkShift && first != kVkControl) TranslateAndQueue(first);
      break;
    case kMsgChar:
      g_keys.Put(static_cast<uint8_t>(first & 0xFF));
      break;
    case kMsgSysKeyDown:
      if (first != kVkAlt) TranslateAndQueue(first);
      break;
    default:
      break;
  }
  return 0;
}

void StartKeyboardPart() {
  KeyboardHook = KeyboardHandler;
}

}  // namespace lumivex

using namespace lumivex;

bool KeyWaiting() {
  if (script::g_active.load(std::memory_order_relaxed)) script::OnPoll();
  return g_keys.Waiting();
}

uint8_t NextKey() {
  if (!CanvasIsOpen()) return 0;
  while (!g_keys.Waiting()) {
    if (script::g_active.load(std::memory_order_relaxed)) {
      script::OnIdle();
      if (g_keys.Waiting()) break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return g_keys.Take();
}

void Pause(uint16_t milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}
