#include "app/board_keys.h"

#include <imm.h>

#include "app/board_events.h"
#include "core/board.h"
#include "input/board_cursor.h"
#include "render/cursor_frame.h"

int windowActive = 0;

namespace {

// 1 once a board key has been pressed.
int cursorCue = 0;

constexpr LPARAM KeyWasDown = 1 << 30;

void ShowFrame()
{
    ShowCursorFrame(cursorCue && windowActive, cursorColumn, cursorRow);
}

// The moves of the cursor keys, or -1 for another key.
int MoveOfKey(WPARAM key, int control)
{
    switch (key) {
    case VK_LEFT:
        return CursorLeft;
    case VK_RIGHT:
        return CursorRight;
    case VK_UP:
        return CursorUp;
    case VK_DOWN:
        return CursorDown;
    case VK_HOME:
        return control ? CursorFirst : CursorRowStart;
    case VK_END:
        return control ? CursorLast : CursorRowEnd;
    default:
        return -1;
    }
}

}  // namespace

void TakeKeysAsKeys(HWND window)
{
    ImmAssociateContext(window, nullptr);
}

int BoardKeyDown(HWND window, WPARAM key, LPARAM flags)
{
    const int control = GetKeyState(VK_CONTROL) < 0;
    // A held key repeats a move, never a click or a flag.
    const int repeat = (flags & KeyWasDown) != 0;
    const int move = MoveOfKey(key, control);
    int moved = 0;
    if (move >= 0)
        moved = MoveCursor(static_cast<CursorMove>(move));
    else if ((key == VK_SPACE || key == VK_RETURN) && !control) {
        if (!repeat)
            ClickAtCursor();
    } else if (key == 'F' && !control) {
        if (!repeat)
            FlagAtCursor();
    } else {
        return 0;
    }
    cursorCue = 1;
    ShowFrame();
    if (moved)
        AnnounceFocus(window);
    AnnounceBoardChanges(window);
    return 1;
}

void FollowActivation(HWND window, WPARAM state)
{
    windowActive = LOWORD(state) != WA_INACTIVE;
    // The settings dialog gives the window back before the new board's size
    // is followed: the focus must name a square of the board as it is now.
    KeepCursorOnBoard();
    ShowFrame();
    if (windowActive)
        AnnounceFocus(window);
}

int MoveCursorTo(HWND window, int column, int row)
{
    if (!InBounds(column, row))
        return 0;
    PlaceCursor(column, row);
    ShowFrame();
    AnnounceFocus(window);
    return 1;
}

void PlaySpaceAt(HWND window, int column, int row)
{
    MoveCursorTo(window, column, row);
    ClickAtCursor();
    AnnounceBoardChanges(window);
}

void FollowBoardSize(HWND window)
{
    const int moved = KeepCursorOnBoard();
    ShowFrame();
    if (moved)
        AnnounceFocus(window);
    AnnounceBoardChanges(window);
}
