// Input of one SDL window: SDL's key, mouse, wheel and close events become our window system's
// messages, posted to the window's queue, so the window procedure and the hooks receive them on
// the window thread like any other message.
//
// Keys arrive as key-down and key-up messages with virtual-key codes of the US layout; the
// message loop's translation makes the characters, so every key gives its character exactly
// once and a key pressed with Alt gives none. While Alt is held without Control, keys arrive as
// system keys. The modifier keys are reported from SDL's modifier state with each key event, so
// the window thread's key state matches the keyboard even when a modifier went down or up while
// another window had the focus.
//
// Used on the SDL thread only.
#pragma once

#include <SDL.h>

#include <bitset>
#include <cstdint>

namespace lumivex {

class Window;

class SdlInput {
 public:
  // scale: how many screen pixels wide one canvas pixel is shown.
  SdlInput(Window& window, int scale) : window_(window), scale_(scale) {}

  void OnKey(const SDL_KeyboardEvent& event);
  void OnMotion(const SDL_MouseMotionEvent& event);
  void OnButton(const SDL_MouseButtonEvent& event);
  void OnWheel(const SDL_MouseWheelEvent& event);
  // The close button, the window menu's close, or the window manager's Alt+F4.
  void OnClose();
  // Keys still down when the window loses the keyboard go up, as their releases will not come.
  void OnFocusLost();

 private:
  void Post(uint32_t message, uint32_t first, uint32_t second);
  void SendKey(uint32_t virtual_key, bool down, bool repeat);
  void SyncModifiers(const SDL_Keysym& keysym, bool pressed);
  void SetModifier(bool& reported, uint32_t virtual_key, bool down);
  uint32_t MouseFlags() const;
  uint32_t CanvasPoint(int32_t window_x, int32_t window_y) const;

  Window& window_;
  int scale_;
  // The key state as reported to the window: what its thread's key state will show.
  std::bitset<256> keys_down_;
  bool shift_ = false;
  bool control_ = false;
  bool alt_ = false;
  bool caps_lock_ = false;
  uint32_t buttons_ = 0;  // button flags of the mouse messages
};

// The virtual-key code of an SDL key on the US layout (letters follow the active layout), 0
// for keys without one. The keypad gives digits with Num Lock on and editing keys with it off.
uint32_t VirtualKeyOf(const SDL_Keysym& keysym);

}  // namespace lumivex
