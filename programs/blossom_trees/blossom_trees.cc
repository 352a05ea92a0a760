#include "blossom_trees.h"

#include <lumivex/lumivex.h>

#include "trees.h"

int32_t DrawBlossomTree() {
  ClearCanvas();
  return trees::DrawTree(0.0);
}
