#include "woggle.h"

int main() {
  return woggle::RunWoggle();
}
