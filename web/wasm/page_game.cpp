// The game as the page's script sees it: the rules and the mouse cases of
// core/ and input/, unchanged, behind exported names.
#include "core/board.h"
#include "core/geometry.h"
#include "core/rules.h"
#include "input/mouse.h"
#include "input/square_press.h"
#include "core/draw.h"
#include "web/wasm/page_drawing.h"
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

// The button bits of the five cases, by name, as the exe takes them from
// the window messages.
PAGE_EXPORT(MouseLeft) unsigned PageMouseLeft()
{
    return MouseLeft;
}

PAGE_EXPORT(MouseRight) unsigned PageMouseRight()
{
    return MouseRight;
}

// A touch or a key on one square, played as those five cases.
PAGE_EXPORT(PressSquare) unsigned PagePressSquare(unsigned x, unsigned y)
{
    return PressSquare(x, y);
}

PAGE_EXPORT(ReleaseAsClick) void PageReleaseAsClick()
{
    ReleaseAsClick();
}

PAGE_EXPORT(ReleaseAsFlag) void PageReleaseAsFlag()
{
    ReleaseAsFlag();
}

PAGE_EXPORT(CancelPress) void PageCancelPress()
{
    CancelPress();
}

PAGE_EXPORT(ClickSquare) void PageClickSquare(unsigned x, unsigned y)
{
    ClickSquare(x, y);
}

PAGE_EXPORT(FlagSquare) void PageFlagSquare(unsigned x, unsigned y)
{
    FlagSquare(x, y);
}

// Where the game stands, for what the page says of it: 0 waiting for the
// first open, 1 in play, 2 over (won or lost: the picture tells which).
PAGE_EXPORT(GamePhase) int GamePhase()
{
    if (firstClickPending)
        return 0;
    return gameActive ? 1 : 2;
}

PAGE_EXPORT(MineCounter) int PageMineCounter()
{
    return mineCounter;
}

// What square (column, row) shows, for a reader of the board: the tile last
// drawn there, but a covered square that shows pressed while play runs is
// still a covered square.
PAGE_EXPORT(ShownTile) int ShownTile(int column, int row)
{
    if (!InBounds(column, row))
        return -1;
    const int tile = shownTile[column][row];
    if (tile == TileOpenedEmpty && !Board[column][row].opened && (gameActive || firstClickPending))
        return TileCovered;
    return tile;
}

// Where square (column, row) lies in the client area.
PAGE_EXPORT(SquareLeft) int PageSquareLeft(int column)
{
    return SquareLeft(column);
}

PAGE_EXPORT(SquareTop) int PageSquareTop(int row)
{
    return SquareTop(row);
}
