// The numbers our window system speaks in: message numbers, virtual-key codes, mouse key-state
// flags and window styles. The values follow those the canvas and input parts were designed
// around, so the hook procedures keep the classic window-procedure signature and the key tables
// read as they were written.
#pragma once

#include <cstdint>

namespace lumivex {

// Message numbers.
inline constexpr uint32_t kMsgCreate = 0x0001;
inline constexpr uint32_t kMsgDestroy = 0x0002;
inline constexpr uint32_t kMsgPaint = 0x000F;
inline constexpr uint32_t kMsgClose = 0x0010;
inline constexpr uint32_t kMsgQuit = 0x0012;
inline constexpr uint32_t kMsgEraseBackground = 0x0014;
inline constexpr uint32_t kMsgKeyDown = 0x0100;
inline constexpr uint32_t kMsgKeyUp = 0x0101;
inline constexpr uint32_t kMsgChar = 0x0102;
inline constexpr uint32_t kMsgSysKeyDown = 0x0104;
inline constexpr uint32_t kMsgSysKeyUp = 0x0105;
inline constexpr uint32_t kMsgSysChar = 0x0106;
inline constexpr uint32_t kMsgMouseMove = 0x0200;
inline constexpr uint32_t kMsgLeftButtonDown = 0x0201;
inline constexpr uint32_t kMsgLeftButtonUp = 0x0202;
inline constexpr uint32_t kMsgRightButtonDown = 0x0204;
inline constexpr uint32_t kMsgRightButtonUp = 0x0205;
inline constexpr uint32_t kMsgMiddleButtonDown = 0x0207;
inline constexpr uint32_t kMsgMiddleButtonUp = 0x0208;
inline constexpr uint32_t kMsgMouseWheel = 0x020A;
// The first message number free for a window's own use; the canvas destroys its window on it.
inline constexpr uint32_t kMsgUser = 0x0400;
// Internal: run a task on the window thread (first parameter: task number).
inline constexpr uint32_t kMsgRunTask = 0x7F00;

// Virtual-key codes.
inline constexpr uint32_t kVkBackspace = 0x08;
inline constexpr uint32_t kVkTab = 0x09;
inline constexpr uint32_t kVkClear = 0x0C;  // keypad 5 without Num Lock
inline constexpr uint32_t kVkEnter = 0x0D;
inline constexpr uint32_t kVkShift = 0x10;
inline constexpr uint32_t kVkControl = 0x11;
inline constexpr uint32_t kVkAlt = 0x12;
inline constexpr uint32_t kVkPause = 0x13;
inline constexpr uint32_t kVkCapsLock = 0x14;
inline constexpr uint32_t kVkEscape = 0x1B;
inline constexpr uint32_t kVkSpace = 0x20;
inline constexpr uint32_t kVkPageUp = 0x21;
inline constexpr uint32_t kVkPageDown = 0x22;
inline constexpr uint32_t kVkEnd = 0x23;
inline constexpr uint32_t kVkHome = 0x24;
inline constexpr uint32_t kVkLeft = 0x25;
inline constexpr uint32_t kVkUp = 0x26;
inline constexpr uint32_t kVkRight = 0x27;
inline constexpr uint32_t kVkDown = 0x28;
inline constexpr uint32_t kVkPrintScreen = 0x2C;
inline constexpr uint32_t kVkInsert = 0x2D;
inline constexpr uint32_t kVkDelete = 0x2E;
inline constexpr uint32_t kVk0 = 0x30;  // '0'..'9' are 0x30..0x39
inline constexpr uint32_t kVkA = 0x41;  // 'A'..'Z' are 0x41..0x5A
inline constexpr uint32_t kVkApps = 0x5D;
inline constexpr uint32_t kVkNumpad0 = 0x60;  // ..0x69
inline constexpr uint32_t kVkMultiply = 0x6A;
inline constexpr uint32_t kVkAdd = 0x6B;
inline constexpr uint32_t kVkSubtract = 0x6D;
inline constexpr uint32_t kVkDecimal = 0x6E;
inline constexpr uint32_t kVkDivide = 0x6F;
inline constexpr uint32_t kVkF1 = 0x70;  // ..F12 0x7B
inline constexpr uint32_t kVkNumLock = 0x90;
// Punctuation keys of the US layout.
inline constexpr uint32_t kVkSemicolon = 0xBA;
inline constexpr uint32_t kVkEquals = 0xBB;
inline constexpr uint32_t kVkComma = 0xBC;
inline constexpr uint32_t kVkMinus = 0xBD;
inline constexpr uint32_t kVkPeriod = 0xBE;
inline constexpr uint32_t kVkSlash = 0xBF;
inline constexpr uint32_t kVkBackquote = 0xC0;
inline constexpr uint32_t kVkLeftBracket = 0xDB;
inline constexpr uint32_t kVkBackslash = 0xDC;
inline constexpr uint32_t kVkRightBracket = 0xDD;
inline constexpr uint32_t kVkQuote = 0xDE;

// Mouse key-state flags of the first parameter of mouse messages.
inline constexpr uint32_t kMkLeftButton = 0x0001;
inline constexpr uint32_t kMkRightButton = 0x0002;
inline constexpr uint32_t kMkShift = 0x0004;
inline constexpr uint32_t kMkControl = 0x0008;
inline constexpr uint32_t kMkMiddleButton = 0x0010;
inline constexpr int32_t kWheelDelta = 120;

// Window styles.
inline constexpr uint32_t kStylePopup = 0x80000000u;
inline constexpr uint32_t kStyleCaption = 0x00C00000u;
inline constexpr uint32_t kStyleSystemMenu = 0x00080000u;
inline constexpr uint32_t kStyleMinimizeBox = 0x00020000u;
inline constexpr uint32_t kStyleCaptionWindow =
    kStyleCaption | kStyleSystemMenu | kStyleMinimizeBox;

// Packs two signed 16-bit values into a second message parameter (x low, y high).
inline constexpr uint32_t PackPoint(int32_t x, int32_t y) {
  return (static_cast<uint32_t>(static_cast<uint16_t>(x))) |
         (static_cast<uint32_t>(static_cast<uint16_t>(y)) << 16);
}

}  // namespace lumivex
