#include "input/square_press.h"

#include "core/board.h"
#include "core/geometry.h"
#include "input/mouse.h"

namespace {

// The press in progress: its buttons (0 when none) and where it began.
unsigned pressButtons = 0;
unsigned pressX = 0;
unsigned pressY = 0;

int OpenedAt(unsigned x, unsigned y)
{
    int column, row;
    SquareAtPoint(x, y, &column, &row);
    return InBounds(column, row) && Board[column][row].opened;
}

}  // namespace

unsigned PressSquare(unsigned x, unsigned y)
{
    pressButtons = 0;
    if (!gameActive && !firstClickPending)
        return 0;
    pressX = x;
    pressY = y;
    MouseMove(0, x, y);
    LeftButtonDown(MouseLeft, x, y);
    pressButtons = MouseLeft;
    if (OpenedAt(x, y)) {
        RightButtonDown(MouseLeft | MouseRight, x, y);
        pressButtons |= MouseRight;
    }
    return pressButtons;
}

void ReleaseAsClick()
{
    if (pressButtons & MouseRight) {
        LeftButtonUp(MouseRight, pressX, pressY);
        RightButtonUp(0, pressX, pressY);
    } else if (pressButtons) {
        LeftButtonUp(0, pressX, pressY);
    }
    pressButtons = 0;
}

void ReleaseAsFlag()
{
    if (!pressButtons)
        return;
    pressButtons = 0;
    // The right press comes with no button held: the game never heard the
    // others go up, and the square is still the hovered one.
    RightButtonDown(MouseRight, pressX, pressY);
    RightButtonUp(0, pressX, pressY);
}

void CancelPress()
{
    if (!pressButtons)
        return;
    MouseMove(pressButtons, OffBoardX, OffBoardY);
    pressButtons = 0;
}

void ClickSquare(unsigned x, unsigned y)
{
    if (PressSquare(x, y))
        ReleaseAsClick();
}

void FlagSquare(unsigned x, unsigned y)
{
    MouseMove(0, x, y);
    RightButtonDown(MouseRight, x, y);
    RightButtonUp(0, x, y);
}
