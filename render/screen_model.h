// What the player sees, kept without pixels: the tile last drawn on each
// square, the counter last shown, the client rectangle changed and the
// squares drawn since the changes were last taken. Platform-free: it is the
// record of every front end. The exe and the page keep it beside their
// pixels for their screen readers; the replay, the benchmark and the test
// stand-ins draw into nothing else.
#pragma once

#include <cstdint>

#include "core/board.h"
#include "render/counter_digits.h"

constexpr int NeverDrawn = -1;

// By column then row; NeverDrawn until a tile is drawn there.
extern int8_t shownTile[MaxColumns][MaxRows];
// The counter value last shown and its cells' tiles; NeverDrawn before.
extern int32_t shownCounter;
extern int32_t shownCounterTiles[CounterCells];

// The client rectangle changed since the changes were last taken: left, top,
// right, bottom (right and bottom exclusive); empty when right <= left.
extern int32_t changedRect[4];
// The squares whose tile, or what they read as (TileSeen), changed since
// then, each once, as (column, row) pairs in the order first changed; a
// square drawn again as it was grows the rectangle alone.
extern int16_t changedSquares[MaxColumns * MaxRows][2];
extern int32_t changedSquareCount;
// 1 when the counter has shown another value since then.
extern int32_t counterChanged;

// Nothing drawn and nothing changed.
void ResetScreenModel();

// Records `tile` on square (column, row) of the current board. 1 when the
// square lies on the board, else 0 and nothing is recorded.
int ShowTile(int column, int row, int tile);

// Records mineCounter in the counter cells.
void ShowCounter();

// Adds a client rectangle to the changed one.
void GrowChangedRect(int left, int top, int right, int bottom);

// Empties the changed rectangle and the list of changed squares.
void ForgetChanges();

// What square (column, row) reads as to a player: the tile last drawn, but
// a covered square shown pressed while play runs is still a covered square.
// NeverDrawn off the board.
int TileSeen(int column, int row);
