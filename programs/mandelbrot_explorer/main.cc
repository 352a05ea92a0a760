// mandelbrot_explorer: the Mandelbrot set in a 256-colour window, explored from the keyboard.
#include "mandelbrot_explorer.h"

int main() {
  static mandelbrot_explorer::Explorer explorer;
  return explorer.Run();
}
