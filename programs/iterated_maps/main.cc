#include "iterated_maps.h"

int main() {
  return iterated_maps::RunIteratedMaps();
}
