// blossom_trees: a random tree in bloom on an 800 x 600 palette canvas; every key but Escape
// clears the canvas and draws a new one.
#pragma once

#include <cstdint>

// Clears the canvas and draws a new tree, continuing the random sequence. Returns the number of
// branches drawn.
int32_t DrawBlossomTree();
