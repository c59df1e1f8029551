#include "core/board.h"

Cell Board[MaxColumns][MaxRows];

int32_t columns = DefaultColumns;
int32_t rows = DefaultRows;
int32_t bombCount = DefaultBombs;

int32_t gameActive = 0;
int32_t firstClickPending = 0;
int32_t mineCounter = 0;

uint32_t randomState = 1;

const NeighbourOffset NeighbourOrder[8] = {
    {-1, -1}, {0, -1}, {1, -1},
    {-1, 0},           {1, 0},
    {-1, 1},  {0, 1},  {1, 1},
};

int NextRandom()
{
    // Unsigned arithmetic wraps modulo 2^32 as the generator requires.
    randomState = randomState * 214013u + 2531011u;
    return static_cast<int>((randomState >> 16) & 0x7FFFu);
}

int InBounds(int column, int row)
{
    return column >= 0 && column < columns && row >= 0 && row < rows;
}

namespace {

// Neighbours on the board whose given field is nonzero.
int CountAdjacent(int column, int row, int32_t Cell::*field)
{
    int count = 0;
    for (const NeighbourOffset& n : NeighbourOrder) {
        const int c = column + n.dc;
        const int r = row + n.dr;
        if (InBounds(c, r) && Board[c][r].*field)
            ++count;
    }
    return count;
}

}  // namespace

int CountAdjacentMines(int column, int row)
{
    return CountAdjacent(column, row, &Cell::mine);
}

int CountAdjacentMarks(int column, int row)
{
    return CountAdjacent(column, row, &Cell::mark);
}
