// Lumivex: an immediate-mode drawing library.
//
// A program opens one canvas at a time: a window of a given colour depth and size, shown by a
// window thread that the library owns. Drawing goes into one of four off-screen pages (the draw
// page); the window shows one of them (the page on show). Every operation reports through
// CanvasStatus() instead of stopping the program: 0 for success, or one of the negative codes
// below. An operation that needs a canvas sets -1 and does nothing when none is open; the few
// that leave the status alone say so. All operations are called from the program's thread;
// coordinates are viewport-relative 16-bit values, angles whole degrees counterclockwise.
#pragma once

#include <cstdint>

// Status codes kept in CanvasStatus().
enum : int16_t {
  kStatusOk = 0,
  kStatusNotOpen = -1,        // no canvas is open
  kStatusBadDriver = -2,      // driver number not in the driver table
  kStatusBadMode = -3,        // mode not in the mode table, or the window does not fit the screen
  kStatusNoWindow = -4,       // the window could not be created
  kStatusNoFont = -5,         // a font family was not found, or the font table is full
  kStatusEmptyFontSlot = -6,  // SetTextStyle named an empty font slot
  kStatusOutOfRange = -7,     // an argument is out of range
  kStatusNotPalette = -8,     // palette operation in true-colour mode
  kStatusNoOpenGL = -9,       // OpenGL rendering contexts are unavailable
  kStatusAlreadyOpen = -10,   // a canvas is already open
};

// A colour value: a palette index in palette mode (taken modulo the entry count), an RGB value
// with red in bits 0..7, green in 8..15 and blue in 16..23 in true-colour mode.
using Colour = uint32_t;

// One entry of a palette record.
struct PaletteEntry {
  uint8_t red;
  uint8_t green;
  uint8_t blue;
  uint8_t flags;  // ignored by InstallPalette
};

// The argument of GetDefaultPalette and InstallPalette.
struct PaletteRecord {
  uint16_t count;
  PaletteEntry entries[256];
};

// The record of drawing settings; its values survive CloseCanvas and are reset by every opening.
struct DrawingState {
  int32_t current_x, current_y;  // viewport-relative pen position
  Colour pen_colour;
  Colour back_colour;
  uint16_t line_style;  // 0 solid, 1 dotted, 2 dash-dot, 3 dashed, 4 dash-dot-dot, 5 user, 6 none
  uint16_t line_pattern;
  uint16_t line_thickness;
  int16_t fill_style;  // 0..9, see SetFillStyle
  Colour fill_colour;
  uint8_t fill_pattern[8];
  uint16_t font_word, text_direction, text_size, text_horizontal, text_vertical;
  int16_t view_x1, view_y1, view_x2, view_y2;  // inclusive device rectangle
  bool view_clip;
  int16_t view_width, view_height;  // x2 - x1 and y2 - y1
  int32_t origin_x, origin_y;       // added to every coordinate an operation receives
  uint32_t aspect_x, aspect_y;
  bool neutral_aspect;  // aspect_x == aspect_y == 10000
};

// ---------------------------------------------------------------------------------------------
// Canvas window.

// Opens the canvas. driver: 0 detects (becomes 9 with mode 10, written back), 1/2/3 palettes of
// 2/16/256 entries, 9 true colour. mode: 1..8 fixed client sizes (320x200 .. 1280x1024), 10 the
// system's default placement, 11 a framed window covering the screen, 12 a frameless window the
// size of the screen. An empty title becomes "Lumivex 1.1"; longer than 255 characters is cut.
// Status -10 when already open, -3 bad mode or too big, -2 bad driver, -4 no window, -5 a default
// font is missing; -9 (OpenGL unavailable) is left on success, the canvas being fully usable.
void OpenCanvas(int16_t& driver, int16_t& mode, const char* title);

// Closes the window and waits until the window thread has ended. -1 when no canvas is open.
void CloseCanvas();

// The status of the last library call that sets one.
int16_t CanvasStatus();

// True while a canvas is open. Leaves the status alone.
bool CanvasIsOpen();

// Makes an OpenGL context current; always -9 here, since OpenGL is not offered.
void SelectGLTarget(bool target);

// ---------------------------------------------------------------------------------------------
// Pages, palette and pixels.

// Chooses the page (0..3; others mean 0) that drawing goes to.
void SetDrawPage(uint16_t page);

// Chooses the page (0..3; others mean 0) the window shows, and has the window repainted from it.
void SetShowPage(uint16_t page);

// Sets one pixel in the colour, as a plain copy; points outside the page or the clip are dropped.
void PlotPixel(int16_t x, int16_t y, Colour colour);

// The colour at a point of the draw page: the nearest palette entry in palette mode, the RGB value
// in true colour; 0xFFFFFFFF outside the page or the clip; 0 with -1 when no canvas is open.
Colour ReadPixel(int16_t x, int16_t y);

// The colour value of red | green << 8 | blue << 16 (red and blue masked to 8 bits, green not):
// that value in true colour, the nearest palette entry in palette mode. Leaves the status alone.
Colour ColourFromRGB(uint16_t red, uint16_t green, uint16_t blue);

// Changes one palette entry and repaints. -8 in true colour, -7 when index >= the entry count.
void SetPaletteRGB(uint16_t index, uint16_t red, uint16_t green, uint16_t blue);

// Fills the record with the default palette of the current driver: 2, 16 or 256 entries, 256 in
// true colour or with no canvas open. Leaves the status alone.
void GetDefaultPalette(PaletteRecord& record);

// Installs record.count entries; the rest of the colour table takes entry 0's colour, and the
// predefined colours are mapped to their nearest entries. -8 in true colour, -7 when the count is
// 0 or exceeds the palette size.
void InstallPalette(const PaletteRecord& record);

// The 256 predefined colours, by number: their named RGB values in true colour, the nearest
// palette entries in palette mode (set at every opening). Programs use 12 black, 105 green,
// 131 pink (FF8080) and 250 white.
extern const Colour (&PredefinedColours)[256];

// ---------------------------------------------------------------------------------------------
// Drawing state, viewport and fills.

// The largest column and row of the canvas last opened. Leave the status alone.
int16_t MaxX();
int16_t MaxY();

// The drawing settings (read-only view). Leaves the status alone.
const DrawingState& CurrentDrawingState();

// Sets the viewport (device coordinates, inclusive) and whether drawing is clipped to it; moves
// the pen to its top-left corner. -7 when x1 > x2 or y1 > y2.
void SetView(int16_t x1, int16_t y1, int16_t x2, int16_t y2, bool clip);

// Fills the viewport with the back colour, keeping the fill settings; moves the pen to its
// top-left corner.
void ClearView();

// Fills the whole canvas with the back colour, keeping the viewport; moves the pen to the
// viewport's top-left corner.
void ClearCanvas();

// Sets the current position (viewport-relative) that DrawLineTo starts from.
void MovePen(int16_t x, int16_t y);

// Sets the pen and text colour; the colour is stored even when no canvas is open (-1).
void SetPenColour(Colour colour);

// Sets the back colour: clearing, gaps in opaque mode, zero bits of the fill pattern.
void SetBackColour(Colour colour);

// Sets line style 0..6 (see DrawingState), the 16-bit user pattern of style 5 and the thickness
// in pixels. -7 when the style is above 6.
void SetLineStyle(uint16_t style, uint16_t pattern, uint16_t thickness);

// Sets fill style 0 empty (back colour), 1 solid, 2 horizontal, 3 vertical, 4 cross,
// 5 rising diagonal, 6 falling diagonal, 7 diagonal cross, 8 user pattern, 9 none; -7 otherwise.
void SetFillStyle(int16_t style, Colour colour);

// Sets the 8x8 user pattern (most significant bit leftmost; 1 bits in colour, 0 bits in the back
// colour, both fixed now) and selects fill style 8.
void SetFillPattern(const uint8_t (&pattern)[8], Colour colour);

// Write mode 0..15 picks the raster operation of pen drawing (0 copy, 1 xor, 2 or, 3 and, 4 not
// copy, 5 not, 6 not xor, 7 not or, 8 not and, 9 and not pen, 10 or not pen, 11 and not dest,
// 12 or not dest, 13 black, 14 white, 15 nothing); adding 16 makes gaps opaque. -7 otherwise.
void SetWriteMode(int16_t mode);

// Sets the aspect correction of arcs: their radii become x_radius * 10000 / x and
// y_radius * 10000 / y; 10000:10000 is neutral. Stored even when no canvas is open; leaves the
// status alone.
void SetAspectRatio(uint16_t x, uint16_t y);

// Fills the rectangle with these opposite corners (in either order), inclusive, with the current
// fill style and colour, clipped like any drawing.
void FillBar(int16_t x1, int16_t y1, int16_t x2, int16_t y2);

// Puts a font face, looked up by name, into the lowest free slot of the 15-slot font table and
// returns the slot; -1 with status -5 when the face does not exist or the table is full.
int16_t InstallFont(const char* name);

// Selects the text font. Font word: bits 0..3 slot, 4..7 weight step (400 + 300 w), 8..11
// underline, 12..15 italic; direction in degrees counterclockwise; size 1..5 means 8..40 pixels,
// larger sizes are pixels. -6 for an empty slot or slot 15.
void SetTextStyle(uint16_t font, uint16_t direction, uint16_t size);

// Sets the text alignment: horizontal 0 left, 1 centre, 2 right; vertical 0 top, 1 bottom,
// 2 baseline. -7 when either is above 2.
void SetTextJustify(uint16_t horizontal, uint16_t vertical);

// Extra pixels after each character and spread over break characters; the last two are ignored.
void SetTextSpacing(uint16_t extra, uint16_t break_extra, uint16_t third, uint16_t fourth);

// Resets the whole drawing state: default palette, white pen, black back colour, solid white
// fill, font slot 0, whole-canvas viewport without clipping, copy mode, neutral aspect.
// OpenCanvas calls it.
void CanvasDefaults();

// ---------------------------------------------------------------------------------------------
// Lines and arcs.

// Draws a line in the pen colour, style and thickness from the current position to (x, y),
// which becomes the current position.
void DrawLineTo(int16_t x, int16_t y);

// MovePen(x1, y1), then DrawLineTo(x2, y2).
void DrawLine(int16_t x1, int16_t y1, int16_t x2, int16_t y2);

// Draws an elliptic arc around (x, y) with the pen, counterclockwise from the start to the end
// angle (degrees). -7 when a non-neutral aspect ratio has a zero term.
void DrawArc(int16_t x, int16_t y, uint16_t start, uint16_t end, uint16_t x_radius,
             uint16_t y_radius);

// A circle: DrawArc(x, y, 0, 360, radius, radius).
void DrawCircle(int16_t x, int16_t y, uint16_t radius);

// ---------------------------------------------------------------------------------------------
// Keyboard.

// True when a key code is queued. Costs a load: drawing loops may call it after every pixel.
// Leaves the status alone.
bool KeyWaiting();

// Takes the oldest queued key code, waiting for one; 0 at once when no canvas is open. Keys
// without a character arrive as 0 followed by an extended code; the close button arrives as
// 0, 107. Leaves the status alone.
uint8_t NextKey();

// Sleeps the calling thread for that many milliseconds. Leaves the status alone.
void Pause(uint16_t milliseconds);

// ---------------------------------------------------------------------------------------------
// Hook slots: the window procedure hands keyboard and mouse messages to these handlers on the
// window thread. The keyboard part fills KeyboardHook at program start, the mouse part MouseHook.

using WindowHandle = struct LumivexWindow*;
using HookProcedure = int32_t (*)(WindowHandle window, uint32_t message, uint32_t first,
                                  uint32_t second);
extern HookProcedure KeyboardHook;
extern HookProcedure MouseHook;
