// The game as the page's script sees it: the rules and the mouse cases of
// core/ and input/ and the reading of the board of render/, unchanged,
// behind exported names. Each export that can
// change the picture presents the change before it returns, as the exe's
// window repaints what its drawing invalidated: the script never paints.
#include "core/board.h"
#include "core/geometry.h"
#include "core/rules.h"
#include "input/mouse.h"
#include "input/mouse_cases.h"
#include "input/square_press.h"
#include "render/board_reading.h"
#include "render/screen_model.h"
#include "web/wasm/page_drawing.h"
#include "web/wasm/page_export.h"

PAGE_EXPORT(NewGame) void PageNewGame()
{
    NewGame();
    PresentChanges();
}

// One of the five mouse cases (MouseCase), with the buttons held after the
// event (MouseLeft, MouseRight) and the pointer in client-area pixels, as the
// exe's window messages bring them.
PAGE_EXPORT(Mouse) void PageMouse(int mouseCase, unsigned buttons, unsigned x, unsigned y)
{
    PlayMouseCase(mouseCase, buttons, x, y);
    PresentChanges();
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
    const unsigned held = PressSquare(x, y);
    PresentChanges();
    return held;
}

PAGE_EXPORT(ReleaseAsClick) void PageReleaseAsClick()
{
    ReleaseAsClick();
    PresentChanges();
}

PAGE_EXPORT(ReleaseAsFlag) void PageReleaseAsFlag()
{
    ReleaseAsFlag();
    PresentChanges();
}

PAGE_EXPORT(CancelPress) void PageCancelPress()
{
    CancelPress();
    PresentChanges();
}

PAGE_EXPORT(ClickSquare) void PageClickSquare(unsigned x, unsigned y)
{
    ClickSquare(x, y);
    PresentChanges();
}

PAGE_EXPORT(FlagSquare) void PageFlagSquare(unsigned x, unsigned y)
{
    FlagSquare(x, y);
    PresentChanges();
}

// Where the game stands, for what the page says of it: 0 waiting for the
// first open, 1 in play, 2 over (won or lost: GameEnding tells which).
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

// What square (column, row) reads as, for a reader of the board.
PAGE_EXPORT(ShownTile) int ShownTile(int column, int row)
{
    return TileSeen(column, row);
}

// What `tile` shows, in the words the exe's accessible object says too:
// the number of its text (enum ReaderText), and the count that the text of
// a number fills in (0 for the others). Two calls rather than one packed
// value: a rename asks for a few hundred tiles at most.
PAGE_EXPORT(TileWords) int PageTileWords(int tile)
{
    int count;
    return TileWords(tile, &count);
}

PAGE_EXPORT(TileWordsCount) int PageTileWordsCount(int tile)
{
    int count;
    TileWords(tile, &count);
    return count;
}

// How the game ended, as the number of its text (ReaderGameLost or
// ReaderGameWon), or ReaderTextCount while it has not.
PAGE_EXPORT(GameEnding) int PageGameEnding()
{
    return GameEnding();
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
