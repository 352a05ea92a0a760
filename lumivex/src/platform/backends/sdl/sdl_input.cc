// SDL input events to key, mouse and close messages.
#include "platform/backends/sdl/sdl_input.h"

#include <cmath>
#include <limits>

#include "platform/messages.h"
#include "platform/window_system.h"

namespace lumivex {

namespace {

// The key-information word of key messages: repeat count 1, the scan code, whether Alt is
// held, the previous key state and (for releases) the transition.
constexpr uint32_t kAltContext = 1u << 29;
constexpr uint32_t kWasDown = 1u << 30;
constexpr uint32_t kReleased = 1u << 31;
constexpr uint32_t kVkF10 = kVkF1 + 9;

uint32_t KeypadKey(SDL_Scancode scancode, bool num_lock) {
  // Keypad 1..9, 0 and the decimal point, as digits and as the editing keys they carry.
  static constexpr uint32_t kEditing[] = {kVkEnd,    kVkDown,   kVkPageDown, kVkLeft,
                                          kVkClear,  kVkRight,  kVkHome,     kVkUp,
                                          kVkPageUp, kVkInsert, kVkDelete};
  static constexpr uint32_t kDigits[] = {kVkNumpad0 + 1, kVkNumpad0 + 2, kVkNumpad0 + 3,
                                         kVkNumpad0 + 4, kVkNumpad0 + 5, kVkNumpad0 + 6,
                                         kVkNumpad0 + 7, kVkNumpad0 + 8, kVkNumpad0 + 9,
                                         kVkNumpad0,     kVkDecimal};
  const int i = scancode - SDL_SCANCODE_KP_1;
  return num_lock ? kDigits[i] : kEditing[i];
}

}  // namespace

uint32_t VirtualKeyOf(const SDL_Keysym& keysym) {
  const SDL_Keycode sym = keysym.sym;
  const SDL_Scancode scancode = keysym.scancode;
  // Letters by what the layout puts on the key, everything else by the key's place.
  if (sym >= SDLK_a && sym <= SDLK_z) return kVkA + static_cast<uint32_t>(sym - SDLK_a);
  if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z) {
    return kVkA + static_cast<uint32_t>(scancode - SDL_SCANCODE_A);
  }
  if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9) {
    return kVk0 + 1 + static_cast<uint32_t>(scancode - SDL_SCANCODE_1);
  }
  if (scancode >= SDL_SCANCODE_F1 && scancode <= SDL_SCANCODE_F12) {
    return kVkF1 + static_cast<uint32_t>(scancode - SDL_SCANCODE_F1);
  }
  if (scancode >= SDL_SCANCODE_KP_1 && scancode <= SDL_SCANCODE_KP_PERIOD) {
    return KeypadKey(scancode, (keysym.mod & KMOD_NUM) != 0);
  }
  switch (scancode) {
    case SDL_SCANCODE_0:
      return kVk0;
    case SDL_SCANCODE_RETURN:
      return kVkEnter;
    case SDL_SCANCODE_KP_ENTER:
      return kVkEnter;
    case SDL_SCANCODE_ESCAPE:
      return kVkEscape;
    case SDL_SCANCODE_BACKSPACE:
      return kVkBackspace;
    case SDL_SCANCODE_TAB:
      return kVkTab;
    case SDL_SCANCODE_SPACE:
      return kVkSpace;
    case SDL_SCANCODE_MINUS:
      return kVkMinus;
    case SDL_SCANCODE_EQUALS:
      return kVkEquals;
    case SDL_SCANCODE_LEFTBRACKET:
      return kVkLeftBracket;
    case SDL_SCANCODE_RIGHTBRACKET:
      return kVkRightBracket;
    case SDL_SCANCODE_BACKSLASH:
      return kVkBackslash;
    case SDL_SCANCODE_SEMICOLON:
      return kVkSemicolon;
    case SDL_SCANCODE_APOSTROPHE:
      return kVkQuote;
    case SDL_SCANCODE_GRAVE:
      return kVkBackquote;
    case SDL_SCANCODE_COMMA:
      return kVkComma;
    case SDL_SCANCODE_PERIOD:
      return kVkPeriod;
    case SDL_SCANCODE_SLASH:
      return kVkSlash;
    case SDL_SCANCODE_CAPSLOCK:
      return kVkCapsLock;
    case SDL_SCANCODE_PRINTSCREEN:
      return kVkPrintScreen;
    case SDL_SCANCODE_PAUSE:
      return kVkPause;
    case SDL_SCANCODE_INSERT:
      return kVkInsert;
    case SDL_SCANCODE_HOME:
      return kVkHome;
    case SDL_SCANCODE_PAGEUP:
      return kVkPageUp;
    case SDL_SCANCODE_DELETE:
      return kVkDelete;
    case SDL_SCANCODE_END:
      return kVkEnd;
    case SDL_SCANCODE_PAGEDOWN:
      return kVkPageDown;
    case SDL_SCANCODE_RIGHT:
      return kVkRight;
    case SDL_SCANCODE_LEFT:
      return kVkLeft;
    case SDL_SCANCODE_DOWN:
      return kVkDown;
    case SDL_SCANCODE_UP:
      return kVkUp;
    case SDL_SCANCODE_NUMLOCKCLEAR:
      return kVkNumLock;
    case SDL_SCANCODE_KP_DIVIDE:
      return kVkDivide;
    case SDL_SCANCODE_KP_MULTIPLY:
      return kVkMultiply;
    case SDL_SCANCODE_KP_MINUS:
      return kVkSubtract;
    case SDL_SCANCODE_KP_PLUS:
      return kVkAdd;
    case SDL_SCANCODE_APPLICATION:
      return kVkApps;
    case SDL_SCANCODE_LSHIFT:
    case SDL_SCANCODE_RSHIFT:
      return kVkShift;
    case SDL_SCANCODE_LCTRL:
    case SDL_SCANCODE_RCTRL:
      return kVkControl;
    case SDL_SCANCODE_LALT:
    case SDL_SCANCODE_RALT:
      return kVkAlt;
    default:
      return 0;
  }
}

void SdlInput::Post(uint32_t message, uint32_t first, uint32_t second) {
  window_.queue().Post(Message{&window_, message, first, second});
}

void SdlInput::SendKey(uint32_t virtual_key, bool down, bool repeat) {
  // Keys pressed while Alt is held without Control are system keys (the Alt key's own press
  // among them), and so is F10.
  const bool system = (alt_ && !control_) || virtual_key == kVkF10;
  uint32_t info = 1 | (alt_ ? kAltContext : 0);
  if (down) {
    if (repeat) info |= kWasDown;
    Post(system ? kMsgSysKeyDown : kMsgKeyDown, virtual_key, info);
  } else {
    Post(system ? kMsgSysKeyUp : kMsgKeyUp, virtual_key, info | kWasDown | kReleased);
  }
  keys_down_[virtual_key & 0xFF] = down;
}

void SdlInput::SetModifier(bool& reported, uint32_t virtual_key, bool down) {
  if (reported == down) return;
  // A press counts from its own message on (Alt's press is already a system key); a release
  // is sent while the key still counts as down.
  if (down) reported = true;
  SendKey(virtual_key, down, false);
  if (!down) reported = false;
}

void SdlInput::SyncModifiers(const SDL_Keysym& keysym, bool pressed) {
  const Uint16 mod = keysym.mod;
  bool shift = (mod & KMOD_SHIFT) != 0;
  bool control = (mod & KMOD_CTRL) != 0;
  bool alt = (mod & KMOD_ALT) != 0;
  // For the modifier keys themselves the event decides, whichever way SDL counts its own key.
  switch (keysym.scancode) {
    case SDL_SCANCODE_LSHIFT:
      shift = pressed || (mod & KMOD_RSHIFT) != 0;
      break;
    case SDL_SCANCODE_RSHIFT:
      shift = pressed || (mod & KMOD_LSHIFT) != 0;
      break;
    case SDL_SCANCODE_LCTRL:
      control = pressed || (mod & KMOD_RCTRL) != 0;
      break;
    case SDL_SCANCODE_RCTRL:
      control = pressed || (mod & KMOD_LCTRL) != 0;
      break;
    case SDL_SCANCODE_LALT:
      alt = pressed || (mod & KMOD_RALT) != 0;
      break;
    case SDL_SCANCODE_RALT:
      alt = pressed || (mod & KMOD_LALT) != 0;
      break;
    default:
      break;
  }
  // Releases first, Alt outermost; then presses, Alt last.
  if (!alt) SetModifier(alt_, kVkAlt, false);
  if (!control) SetModifier(control_, kVkControl, false);
  if (!shift) SetModifier(shift_, kVkShift, false);
  if (shift) SetModifier(shift_, kVkShift, true);
  if (control) SetModifier(control_, kVkControl, true);
  if (alt) SetModifier(alt_, kVkAlt, true);
  // Caps Lock toggles at the window thread with each press of its key.
  if (keysym.scancode != SDL_SCANCODE_CAPSLOCK && ((mod & KMOD_CAPS) != 0) != caps_lock_) {
    SendKey(kVkCapsLock, true, false);
    SendKey(kVkCapsLock, false, false);
    caps_lock_ = !caps_lock_;
  }
}

void SdlInput::OnKey(const SDL_KeyboardEvent& event) {
  const bool pressed = event.state == SDL_PRESSED;
  SyncModifiers(event.keysym, pressed);
  const uint32_t key = VirtualKeyOf(event.keysym);
  if (key == 0 || key == kVkShift || key == kVkControl || key == kVkAlt) return;
  if (key == kVkCapsLock && pressed && event.repeat == 0) caps_lock_ = !caps_lock_;
  // A release of a key never reported down (pressed before the window had the keyboard) is
  // not sent.
  if (!pressed && !keys_down_[key]) return;
  SendKey(key, pressed, event.repeat != 0);
}

void SdlInput::OnFocusLost() {
  for (uint32_t key = 0; key < keys_down_.size(); ++key) {
    if (keys_down_[key] && key != kVkShift && key != kVkControl && key != kVkAlt) {
      SendKey(key, false, false);
    }
  }
  SetModifier(alt_, kVkAlt, false);
  SetModifier(control_, kVkControl, false);
  SetModifier(shift_, kVkShift, false);
}

uint32_t SdlInput::MouseFlags() const {
  return buttons_ | (shift_ ? kMkShift : 0) | (control_ ? kMkControl : 0);
}

uint32_t SdlInput::CanvasPoint(int32_t window_x, int32_t window_y) const {
  // Floor division, so a point left of or above the window stays outside the canvas.
  const auto canvas = [this](int32_t v) {
    return v >= 0 ? v / scale_ : -((-v + scale_ - 1) / scale_);
  };
  return PackPoint(canvas(window_x), canvas(window_y));
}

void SdlInput::OnMotion(const SDL_MouseMotionEvent& event) {
  buttons_ = ((event.state & SDL_BUTTON_LMASK) ? kMkLeftButton : 0) |
             ((event.state & SDL_BUTTON_RMASK) ? kMkRightButton : 0) |
             ((event.state & SDL_BUTTON_MMASK) ? kMkMiddleButton : 0);
  Post(kMsgMouseMove, MouseFlags(), CanvasPoint(event.x, event.y));
}

void SdlInput::OnButton(const SDL_MouseButtonEvent& event) {
  uint32_t flag, down_message, up_message;
  switch (event.button) {
    case SDL_BUTTON_LEFT:
      flag = kMkLeftButton, down_message = kMsgLeftButtonDown, up_message = kMsgLeftButtonUp;
      break;
    case SDL_BUTTON_RIGHT:
      flag = kMkRightButton, down_message = kMsgRightButtonDown, up_message = kMsgRightButtonUp;
      break;
    case SDL_BUTTON_MIDDLE:
      flag = kMkMiddleButton, down_message = kMsgMiddleButtonDown, up_message = kMsgMiddleButtonUp;
      break;
    default:
      return;  // extra buttons have no messages
  }
  // The flags already show the change the message reports.
  const bool pressed = event.state == SDL_PRESSED;
  buttons_ = pressed ? (buttons_ | flag) : (buttons_ & ~flag);
  Post(pressed ? down_message : up_message, MouseFlags(), CanvasPoint(event.x, event.y));
}

void SdlInput::OnWheel(const SDL_MouseWheelEvent& event) {
  float turn = event.preciseY;
  if (event.direction == SDL_MOUSEWHEEL_FLIPPED) turn = -turn;
  // The delta in 120ths of a notch, positive away from the user; sideways turns have no message.
  const float delta = std::round(turn * static_cast<float>(kWheelDelta));
  if (!std::isfinite(delta) || delta == 0.0f) return;
  const float limit = static_cast<float>(std::numeric_limits<int16_t>::max());
  const int16_t notches = static_cast<int16_t>(std::fmax(-limit, std::fmin(limit, delta)));
  // The wheel message carries the pointer in screen coordinates.
  int screen_x = 0, screen_y = 0;
  SDL_GetGlobalMouseState(&screen_x, &screen_y);
  const uint32_t first =
      (static_cast<uint32_t>(static_cast<uint16_t>(notches)) << 16) | MouseFlags();
  Post(kMsgMouseWheel, first, PackPoint(screen_x, screen_y));
}

void SdlInput::OnClose() {
  Post(kMsgClose, 0, 0);
}

}  // namespace lumivex
