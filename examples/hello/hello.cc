// hello: a yellow circle follows the mouse until a key is pressed.
#include <lumivex/lumivex.h>
#include <lumivex/mouse.h>

int main() {
  int16_t driver = 9, mode = 4;  // true colour, 640 x 480
  OpenCanvas(driver, mode, "Hello");
  if (!CanvasIsOpen()) return 1;
  SetPenColour(ColourFromRGB(255, 220, 0));
  uint16_t hidden = 1;  // draw on the page not on show, then show it
  while (!KeyWaiting()) {
    SetDrawPage(hidden);
    ClearCanvas();
    DrawCircle(MouseX(), MouseY(), 40);
    SetShowPage(hidden);
    hidden = 1 - hidden;
    Pause(15);
  }
  CloseCanvas();
}
