// Drives the public drawing API from a byte stream on a headless canvas: any operation with any
// argument values, opening and closing in any order, keys and mouse messages in between.
#include <lumivex/lumivex.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "input_injection.h"
#include "platform/messages.h"

namespace {

class Bytes {
 public:
  Bytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  bool more() const { return at_ < size_; }
  uint8_t U8() { return at_ < size_ ? data_[at_++] : 0; }
  uint16_t U16() { return static_cast<uint16_t>(U8() | (U8() << 8)); }
  int16_t I16() { return static_cast<int16_t>(U16()); }
  uint32_t U32() { return static_cast<uint32_t>(U16()) | (static_cast<uint32_t>(U16()) << 16); }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t at_ = 0;
};

void OpenFrom(Bytes& in) {
  static const int16_t kDrivers[] = {0, 1, 2, 3, 9, 4, -1};
  static const int16_t kModes[] = {1, 2, 3, 4, 5, 6, 7, 8, 10, 11, 12, 13, 0, 9, -7};
  const uint8_t pick = in.U8();
  int16_t driver = pick & 0x80 ? in.I16() : kDrivers[pick % 7];
  int16_t mode = pick & 0x40 ? in.I16() : kModes[in.U8() % 15];
  char title[40];
  const size_t length = in.U8() % sizeof title;
  for (size_t i = 0; i < length; ++i)
    title[i] = static_cast<char>(in.U8() | 1);
  title[length] = '\0';
  OpenCanvas(driver, mode, title);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  setenv("LUMIVEX_BACKEND", "headless", 1);
  setenv("LUMIVEX_SCREEN", "800x600", 1);
  int16_t driver = 3, mode = 4;
  OpenCanvas(driver, mode, "fuzz");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Bytes in(data, size);
  // Opening and closing wait for the window thread; a few per input keep runs fast.
  int hand_overs_left = 3;
  while (in.more()) {
    switch (in.U8() % 30) {
      case 0:
        if (hand_overs_left-- > 0) OpenFrom(in);
        break;
      case 1:
        if (hand_overs_left-- > 0) CloseCanvas();
        break;
      case 2:
        PlotPixel(in.I16(), in.I16(), in.U32());
        break;
      case 3:
        ReadPixel(in.I16(), in.I16());
        break;
      case 4:
        FillBar(in.I16(), in.I16(), in.I16(), in.I16());
        break;
      case 5: {
        const int16_t x1 = in.I16(), y1 = in.I16(), x2 = in.I16(), y2 = in.I16();
        SetView(x1, y1, x2, y2, in.U8() & 1);
        break;
      }
      case 6: {
        const uint16_t style = in.U16() % 8, pattern = in.U16();
        SetLineStyle(style, pattern, in.U8() & 1 ? in.U16() : in.U8() % 5);
        break;
      }
      case 7:
        SetFillStyle(in.I16() % 11, in.U32());
        break;
      case 8: {
        uint8_t pattern[8];
        for (uint8_t& row : pattern)
          row = in.U8();
        SetFillPattern(pattern, in.U32());
        break;
      }
      case 9:
        SetWriteMode(in.I16() % 40);
        break;
      case 10:
        DrawLine(in.I16(), in.I16(), in.I16(), in.I16());
        break;
      case 11:
        DrawLineTo(in.I16(), in.I16());
        break;
      case 12: {
        const int16_t x = in.I16(), y = in.I16();
        const uint16_t start = in.U16(), end = in.U16(), xr = in.U16();
        DrawArc(x, y, start, end, xr, in.U16());
        break;
      }
      case 13:
        DrawCircle(in.I16(), in.I16(), in.U16());
        break;
      case 14: {
        const uint16_t index = in.U16() % 300, red = in.U16(), green = in.U16();
        SetPaletteRGB(index, red, green, in.U16());
        break;
      }
      case 15: {
        PaletteRecord record;
        GetDefaultPalette(record);
        record.count = in.U8() & 1 ? in.U16() : in.U8();
        for (int i = 0; i < 4; ++i) {
          PaletteEntry& e = record.entries[in.U8()];
          e.red = in.U8();
          e.green = in.U8();
          e.blue = in.U8();
        }
        InstallPalette(record);
        break;
      }
      case 16: {
        const uint16_t red = in.U16(), green = in.U16();
        ColourFromRGB(red, green, in.U16());
        break;
      }
      case 17:
        SetDrawPage(in.U16() % 6);
        break;
      case 18:
        SetShowPage(in.U16() % 6);
        break;
      case 19:
        if (in.U8() & 1) {
          ClearView();
        } else {
          ClearCanvas();
        }
        break;
      case 20: {
        const uint16_t x = in.U16();
        SetAspectRatio(x, in.U16());
        break;
      }
      case 21: {
        static const char* kFaces[] = {"Arial", "Courier New", "", "DejaVu Sans", "nothing"};
        InstallFont(kFaces[in.U8() % 5]);
        break;
      }
      case 22: {
        const uint16_t font = in.U16(), direction = in.U16();
        SetTextStyle(font, direction, in.U16());
        break;
      }
      case 23: {
        const uint16_t h = in.U16() % 4, v = in.U16() % 4;
        SetTextJustify(h, v);
        SetTextSpacing(in.U16(), in.U16(), 0, 0);
        break;
      }
      case 24: {
        const uint32_t key = in.U8();
        const uint32_t kind = in.U8() & 1 ? lumivex::kMsgSysKeyDown : lumivex::kMsgKeyDown;
        lumivex::InjectMessages({{kind, key, 1}, {kind + 1, key, 1}});
        break;
      }
      case 25: {
        const int16_t x = in.I16(), y = in.I16();
        lumivex::InjectMouse(x, y, in.U8() & 0x1F);
        break;
      }
      case 26:
        lumivex::InjectClose();
        break;
      case 27:
        if (KeyWaiting()) NextKey();
        break;
      case 28:
        MovePen(in.I16(), in.I16());
        SetPenColour(in.U32());
        SetBackColour(in.U32());
        break;
      default:
        CanvasStatus();
        MaxX();
        MaxY();
        break;
    }
  }
  if (!CanvasIsOpen()) {
    int16_t driver = 3, mode = 4;
    OpenCanvas(driver, mode, "fuzz");
  }
  return 0;
}
