#include "input/board_cursor.h"

#include "core/board.h"
#include "core/geometry.h"
#include "input/square_press.h"

int32_t cursorColumn = 0;
int32_t cursorRow = 0;

namespace {

int Clamp(int value, int last)
{
    return value < 0 ? 0 : value > last ? last : value;
}

int MoveTo(int column, int row)
{
    column = Clamp(column, columns - 1);
    row = Clamp(row, rows - 1);
    if (column == cursorColumn && row == cursorRow)
        return 0;
    cursorColumn = column;
    cursorRow = row;
    return 1;
}

unsigned CentreX()
{
    return static_cast<unsigned>(SquareLeft(cursorColumn) + SquareSize / 2);
}

unsigned CentreY()
{
    return static_cast<unsigned>(SquareTop(cursorRow) + SquareSize / 2);
}

}  // namespace

int MoveCursor(CursorMove move)
{
    const int column = cursorColumn, row = cursorRow;
    switch (move) {
    case CursorLeft:
        return MoveTo(column - 1, row);
    case CursorRight:
        return MoveTo(column + 1, row);
    case CursorUp:
        return MoveTo(column, row - 1);
    case CursorDown:
        return MoveTo(column, row + 1);
    case CursorRowStart:
        return MoveTo(0, row);
    case CursorRowEnd:
        return MoveTo(columns - 1, row);
    case CursorFirst:
        return MoveTo(0, 0);
    case CursorLast:
        return MoveTo(columns - 1, rows - 1);
    }
    return 0;
}

int PlaceCursor(int column, int row)
{
    if (!InBounds(column, row))
        return 0;
    return MoveTo(column, row);
}

int KeepCursorOnBoard()
{
    return MoveTo(cursorColumn, cursorRow);
}

void ClickAtCursor()
{
    KeepCursorOnBoard();
    ClickSquare(CentreX(), CentreY());
}

void FlagAtCursor()
{
    KeepCursorOnBoard();
    FlagSquare(CentreX(), CentreY());
}
