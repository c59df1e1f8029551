// The board model: the squares, the board size, the game phase, the bomb
// counter and the random generator. Plain process-wide state of the game's
// one thread; nothing here is allocated or freed.
#pragma once

#include <cstdint>

struct Cell {
    int32_t mine;    // nonzero: the square holds a bomb
    int32_t opened;  // nonzero: the square has been opened
    int32_t mark;    // nonzero: the player has flagged the square
};

constexpr int MaxColumns = 36;
constexpr int MaxRows = 24;
// The board of a first start, and of a settings file without its values.
constexpr int DefaultColumns = 10;
constexpr int DefaultRows = 5;
constexpr int DefaultBombs = 10;

// Indexed by column, then row. Only columns below `columns` and rows below
// `rows` form the current board; cells beyond keep what a larger board left.
extern Cell Board[MaxColumns][MaxRows];

extern int32_t columns;    // 10 to 36, kept in range by the settings code
extern int32_t rows;       // 5 to 24
extern int32_t bombCount;  // 5 to columns * rows - 5

// Game phase: waiting for the first open (0, 1), in play (1, 0), over (0, 0).
extern int32_t gameActive;
extern int32_t firstClickPending;

// Bombs minus flags: what the counter shows. Goes negative with too many flags.
extern int32_t mineCounter;

// State of the never-seeded linear congruential generator; 1 at start.
extern uint32_t randomState;

// Advances the generator and returns a value from 0 to 32767.
int NextRandom();

// 1 when (column, row) lies on the current board, else 0.
int InBounds(int column, int row);

// Neighbours on the board whose bomb (or mark) is set: 0 to 8.
int CountAdjacentMines(int column, int row);
int CountAdjacentMarks(int column, int row);

// The eight neighbour offsets in the order every walk uses: the row above
// from left to right, then left and right, then the row below.
struct NeighbourOffset {
    int dc;
    int dr;
};
extern const NeighbourOffset NeighbourOrder[8];
