// Input sent to the open canvas window from another thread (the script, tests): the same key,
// character and mouse messages a real window receives, through the window thread's queue.
// Each call returns once the window thread has handled what it sent.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "script.h"

namespace lumivex {

class Window;

struct InjectedMessage {
  uint32_t message;
  uint32_t first;
  uint32_t second;
};

// Posts messages to the live canvas window and waits until they are handled; false when no
// canvas window exists.
bool InjectMessages(const std::vector<InjectedMessage>& messages);

// Presses and releases a key with its modifiers, as a person would.
bool InjectKeyStroke(const script::KeyStroke& stroke);

// Moves the pointer to a canvas pixel with the given key-state flags; button flags that change
// against the previous injected state give their button messages.
bool InjectMouse(int32_t x, int32_t y, uint32_t flags);

// A wheel turn away from the user, the pointer at a screen point.
bool InjectWheel(int32_t screen_x, int32_t screen_y);

// The window's close button.
bool InjectClose();

// Runs a task on the window thread with the live window (nullptr when none); false when no
// window thread exists.
bool RunOnWindowThread(const std::function<void(Window*)>& task);

// Saves what the window shows now as a PNG; false with a message when there is no window or the
// file cannot be written.
bool SaveWindowPng(const std::string& path, std::string* error);

}  // namespace lumivex
