#include "plasma_family.h"

int main() {
  return plasma_family::RunPlasmaFamily();
}
