#include "input/mouse.h"

#include "core/board.h"
#include "core/geometry.h"
#include "core/rules.h"
#include "core/draw.h"

int32_t hoverColumn = 0;
int32_t hoverRow = 0;
int32_t chordLatch = 0;

namespace {

int PlayRunning()
{
    return gameActive || firstClickPending;
}

// A square that may show the pressed picture. Once a chord has ended the
// game, a bomb keeps the picture the loss gave it: only its release restores
// squares then, and a covered bomb must not turn back into a blank square.
int ShowsCoveredPicture(int column, int row)
{
    if (!InBounds(column, row))
        return 0;
    const Cell& cell = Board[column][row];
    if (cell.opened || cell.mark)
        return 0;
    return PlayRunning() || !cell.mine;
}

int OpenedOnBoard(int column, int row)
{
    return InBounds(column, row) && Board[column][row].opened;
}

// What every press and release begins with: nothing at all while play is not
// running; otherwise the square under the pointer becomes the hovered one.
int TakeSquare(unsigned x, unsigned y, int* column, int* row)
{
    if (!PlayRunning())
        return 0;
    SquareAtPoint(x, y, column, row);
    hoverColumn = *column;
    hoverRow = *row;
    return 1;
}

}  // namespace

void SquareAtPoint(unsigned x, unsigned y, int* column, int* row)
{
    *column = ColumnAtX(x);
    *row = RowAtY(y);
}

void DrawCoveredSquares(int column, int row, SquareShape shape, int tile)
{
    for (int dr = -1; dr <= 1; ++dr) {
        for (int dc = -1; dc <= 1; ++dc) {
            const bool centre = dc == 0 && dr == 0;
            if ((shape == ShapeCentre && !centre) || (shape == ShapeRing && centre))
                continue;
            if (ShowsCoveredPicture(column + dc, row + dr))
                DrawTile(column + dc, row + dr, tile);
        }
    }
}

void MouseMove(unsigned buttons, unsigned x, unsigned y)
{
    if (!PlayRunning())
        return;
    int c, r;
    SquareAtPoint(x, y, &c, &r);
    if (c == hoverColumn && r == hoverRow)
        return;
    DrawCoveredSquares(hoverColumn, hoverRow, ShapeBlock, TileCovered);
    hoverColumn = c;
    hoverRow = r;
    if (!(buttons & MouseLeft))
        return;
    DrawCoveredSquares(c, r, (buttons & MouseRight) ? ShapeBlock : ShapeCentre, TileOpenedEmpty);
}

void LeftButtonDown(unsigned buttons, unsigned x, unsigned y)
{
    int c, r;
    if (!TakeSquare(x, y, &c, &r))
        return;
    if (buttons & MouseRight) {
        DrawCoveredSquares(c, r, ShapeRing, TileOpenedEmpty);
        chordLatch = 1;
    } else {
        DrawCoveredSquares(c, r, ShapeCentre, TileOpenedEmpty);
        chordLatch = 0;
    }
}

void LeftButtonUp(unsigned buttons, unsigned x, unsigned y)
{
    int c, r;
    if (!TakeSquare(x, y, &c, &r))
        return;
    if (buttons & MouseRight) {
        if (OpenedOnBoard(c, r))
            OpenAround(c, r);
    } else if (chordLatch) {
        // The end of a two-button press whose right release was never seen.
        chordLatch = 0;
    } else if (OpenCell(c, r)) {
        return;
    }
    DrawCoveredSquares(c, r, ShapeRing, TileCovered);
}

void RightButtonDown(unsigned buttons, unsigned x, unsigned y)
{
    int c, r;
    if (!TakeSquare(x, y, &c, &r))
        return;
    if (buttons & MouseLeft) {
        DrawCoveredSquares(c, r, ShapeRing, TileOpenedEmpty);
        chordLatch = 1;
    } else {
        CycleMark(c, r);
        chordLatch = 0;
    }
}

void RightButtonUp(unsigned buttons, unsigned x, unsigned y)
{
    int c, r;
    if (!TakeSquare(x, y, &c, &r))
        return;
    if ((buttons & MouseLeft) && OpenedOnBoard(c, r))
        OpenAround(c, r);
    chordLatch = 0;
    DrawCoveredSquares(c, r, ShapeBlock, TileCovered);
}
