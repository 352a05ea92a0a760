// windy_trees: the blossoming tree swaying in the wind, redrawn every frame on alternate pages.
// Every frame reseeds the generator with the tree seed, so the tree keeps its branches and only
// the advancing wind phase turns them. Enter picks a new tree from the next frame on; Escape ends.
#pragma once

#include <cstdint>

// Page 0 to draw into first, a tree seed from the tick count, and no wind yet.
void StartWindyTrees();

// Reseeds with the tree seed, flips the pages (the window shows the previous frame) and draws
// the tree with the current wind phase into the other page. Returns the number of branches.
int32_t DrawWindyFrame();

// The key of this frame: 0 when none is queued; of an extended key (0 and a code) the code.
uint8_t TakeFrameKey();

// Advances the wind phase by 0.1; after Enter draws the next tree seed from the generator as
// this frame's drawing left it.
void FinishWindyFrame(uint8_t key);
