// sierpinski: the Sierpinski triangle as nested white triangle outlines on a 640 x 480 palette
// canvas, drawn depth first with a 10 ms pause after each triangle's sub-triangles, so the figure
// visibly grows; one key closes it.
#pragma once

#include <cstdint>

// The number of triangles drawn so far.
extern int32_t triangles_drawn;

// Draws the triangle with apex (x, y), width w and height h (y grows downwards), then, when both
// w and h are at least 10, its top, right and left sub-triangles of half the size, then pauses.
void DrawTriangle(double x, double y, double w, double h);

// The whole figure: the triangle spanning the middle of the canvas, its width and height both
// half the canvas width.
void DrawSierpinski();
