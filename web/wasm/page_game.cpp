// The game as the page's script sees it: the rules and the mouse cases of
// core/ and input/, unchanged, behind exported names.
#include "core/board.h"
#include "core/geometry.h"
#include "core/rules.h"
#include "input/mouse.h"
#include "web/wasm/page_export.h"

PAGE_EXPORT(NewGame) void PageNewGame()
{
    NewGame();
}

// The five mouse cases: the buttons held after the event (1 left, 2 right)
// and the pointer in client-area pixels, as the exe's window messages bring
// them.
PAGE_EXPORT(MouseMove) void PageMouseMove(unsigned buttons, unsigned x, unsigned y)
{
    MouseMove(buttons, x, y);
}

PAGE_EXPORT(LeftButtonDown) void PageLeftButtonDown(unsigned buttons, unsigned x, unsigned y)
{
    LeftButtonDown(buttons, x, y);
}

PAGE_EXPORT(LeftButtonUp) void PageLeftButtonUp(unsigned buttons, unsigned x, unsigned y)
{
    LeftButtonUp(buttons, x, y);
}

PAGE_EXPORT(RightButtonDown) void PageRightButtonDown(unsigned buttons, unsigned x, unsigned y)
{
    RightButtonDown(buttons, x, y);
}

PAGE_EXPORT(RightButtonUp) void PageRightButtonUp(unsigned buttons, unsigned x, unsigned y)
{
    RightButtonUp(buttons, x, y);
}

PAGE_EXPORT(ClientWidth) int PageClientWidth()
{
    return ClientWidth(columns);
}

PAGE_EXPORT(ClientHeight) int PageClientHeight()
{
    return ClientHeight(rows);
}

PAGE_EXPORT(Columns) int PageColumns()
{
    return columns;
}

PAGE_EXPORT(Rows) int PageRows()
{
    return rows;
}

PAGE_EXPORT(BombCount) int PageBombCount()
{
    return bombCount;
}

// What a touch needs to know before it becomes mouse cases: 1 for a square
// opened, 2 for a covered, unmarked one (which a press shows pressed), 0
// for a flag or a square off the board. -1 while no game is running.
PAGE_EXPORT(SquareState) int SquareState(unsigned x, unsigned y)
{
    if (!gameActive && !firstClickPending)
        return -1;
    int column, row;
    SquareAtPoint(x, y, &column, &row);
    if (!InBounds(column, row))
        return 0;
    const Cell& cell = Board[column][row];
    if (cell.opened)
        return 1;
    return cell.mark ? 0 : 2;
}
