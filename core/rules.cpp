#include "core/rules.h"

#include "core/board.h"
#include "core/draw.h"

void NewGame()
{
    mineCounter = bombCount;
    firstClickPending = 1;
    gameActive = 0;
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            Board[column][row] = Cell{0, 0, 0};
            DrawTile(column, row, TileCovered);
        }
    }
    DrawCounter();
}

void PlaceMines(int column, int row)
{
    int remaining = bombCount;
    while (remaining > 0) {
        // Both draws happen on every attempt, the column's first, so that
        // the sequence of layouts stays the same from run to run.
        const int c = NextRandom() % columns;
        const int r = NextRandom() % rows;
        if (c == column && r == row)
            continue;
        if (!Board[c][r].mine) {
            Board[c][r].mine = 1;
            --remaining;
        }
    }
    gameActive = 1;
    firstClickPending = 0;
}

int OpenCell(int column, int row)
{
    if (!gameActive && !firstClickPending)
        return 0;
    if (!InBounds(column, row))
        return 0;
    if (firstClickPending)
        PlaceMines(column, row);
    Cell& cell = Board[column][row];
    if (cell.opened || cell.mark)
        return 0;
    cell.opened = 1;
    if (cell.mine) {
        Explode(column, row);
        return 1;
    }
    const int around = CountAdjacentMines(column, row);
    DrawTile(column, row, TileOpenedEmpty + around);
    // The flood: depth first, each square with no bomb around it opening its
    // own neighbours before the square that reached it goes on. Its depth is
    // bounded by the safe squares of a 36 x 24 board, well within a stack.
    if (around == 0)
        OpenAround(column, row);
    return 1;
}

int OpenAround(int column, int row)
{
    if (CountAdjacentMarks(column, row) != CountAdjacentMines(column, row))
        return 0;
    // OpenCell refuses neighbours off the board, opened ones and marked ones.
    for (const NeighbourOffset& n : NeighbourOrder)
        OpenCell(column + n.dc, row + n.dr);
    return 1;
}

int CycleMark(int column, int row)
{
    if (!gameActive)
        return 0;
    if (!InBounds(column, row))
        return 0;
    Cell& cell = Board[column][row];
    if (cell.opened)
        return 0;
    cell.mark = cell.mark ? 0 : 1;
    DrawTile(column, row, cell.mark ? TileFlag : TileCovered);
    mineCounter += cell.mark ? -1 : 1;
    DrawCounter();
    // The win test follows every change that leaves the counter at 0,
    // a removed flag included.
    if (mineCounter == 0 && AllMinesMarked())
        RevealBoard(1);
    return 1;
}

int AllMinesMarked()
{
    int marked = 0;
    for (int column = 0; column < columns; ++column) {
        for (int row = 0; row < rows; ++row) {
            if (Board[column][row].mine && Board[column][row].mark)
                ++marked;
        }
    }
    return marked == bombCount;
}

void RevealBoard(int won)
{
    gameActive = 0;
    // The cells stay as they are: the final picture is drawn, not stored.
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            const Cell& cell = Board[column][row];
            if (won == 1 && !cell.opened)
                DrawTile(column, row, TileOpenedEmpty + CountAdjacentMines(column, row));
            if (cell.mine)
                DrawTile(column, row, cell.mark ? TileFlaggedBomb : TileBomb);
            else if (cell.mark)
                DrawTile(column, row, TileWrongFlag);
        }
    }
}

void Explode(int column, int row)
{
    RevealBoard(0);
    DrawTile(column, row, TileExplodedBomb);
}
