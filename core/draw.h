// The drawing port: the two calls through which the game rules and the mouse
// layer change the picture. The core declares them; each front end supplies
// them (the exe draws tiles from the strip into its back buffer, the page
// into its canvas, the tests and tools into a screen model).
#pragma once

#include "core/geometry.h"

// Tile numbers of the strip.
enum TileNumber {
    TileCovered = 0,
    TileFlag = 1,
    TileQuestion = 2,     // in the strip, never drawn
    TileOpenedEmpty = 3,  // also the pressed look of a covered square
    TileOpenedOne = 4,    // 3 + n for n bombs around
    TileFlaggedBomb = 12,
    TileWrongFlag = 13,
    TileBomb = 14,
    TileExplodedBomb = 15,
    TileCounterZero = 16, // 16 + digit
    TileCounterMinus = 26,
    TileCounterBlank = 27,
    TileCount = 28,
};

// The strip: TileCount tiles of one square's size side by side, in the order
// of their numbers.
constexpr int StripWidth = SquareSize * TileCount;
constexpr int StripHeight = SquareSize;

// Puts `tile` on square (column, row) and marks the square for repaint.
void DrawTile(int column, int row, int tile);

// Shows mineCounter in the four counter cells and marks them for repaint.
void DrawCounter();
