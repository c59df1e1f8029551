// The game's own rules and mouse layer, run inside the test on the screen
// model: what the window must show after the same mouse messages. The real
// program and this copy start from the same never-seeded generator, so they
// deal the same bombs for the same settings and squares.
//
// Defines ResetDrawingLog: include it in one test file only.
#pragma once

#include <windows.h>

#include "app/mouse_message.h"
#include "core/board.h"
#include "core/rules.h"
#include "input/board_cursor.h"
#include "input/mouse_cases.h"
#include "render/screen_model.h"
#include "tests/e2e/driver.h"
#include "tests/support/program_state.h"

// The model draws into the screen model alone and keeps no log of calls.
void ResetDrawingLog() {}

namespace model {

// What the model shows, as the driver reads a window.
inline Screen Shown()
{
    Screen screen = UniformScreen(columns, rows, -1, 0);
    for (int column = 0; column < columns; ++column)
        for (int row = 0; row < rows; ++row)
            screen.Set(column, row, shownTile[column][row]);
    for (int cell = 0; cell < CounterCells; ++cell)
        screen.counter[cell] = shownCounterTiles[cell];
    return screen;
}

// A fresh process's state for the given settings, and its first board.
inline void Start(int boardColumns, int boardRows, int bombs)
{
    ResetProgramState(boardColumns, boardRows, bombs);
    cursorColumn = cursorRow = 0;
    NewGame();
}

// One mouse message as the main window hands it to the mouse layer.
inline void Mouse(UINT message, unsigned buttons, int x, int y)
{
    PlayMouseCase(MouseCaseOfMessage(message), HeldButtons(buttons), static_cast<unsigned>(x) & 0xFFFF,
                  static_cast<unsigned>(y) & 0xFFFF);
}

// The same messages as GameRun::ClickSquare and GameRun::RightPressSquare.
inline void Click(int column, int row)
{
    Mouse(WM_MOUSEMOVE, 0, SquareX(column), SquareY(row));
    Mouse(WM_LBUTTONDOWN, MK_LBUTTON, SquareX(column), SquareY(row));
    Mouse(WM_LBUTTONUP, 0, SquareX(column), SquareY(row));
}

inline void RightPress(int column, int row)
{
    Mouse(WM_MOUSEMOVE, 0, SquareX(column), SquareY(row));
    Mouse(WM_RBUTTONDOWN, MK_RBUTTON, SquareX(column), SquareY(row));
    Mouse(WM_RBUTTONUP, 0, SquareX(column), SquareY(row));
}

// Clicks in both the real game and the model.
inline void ClickBoth(const GameRun& game, int column, int row)
{
    game.ClickSquare(column, row);
    Click(column, row);
}

inline void RightPressBoth(const GameRun& game, int column, int row)
{
    game.RightPressSquare(column, row);
    RightPress(column, row);
}

// A board key as the window plays it: the keys move the cursor, Space and
// Enter click on its square, F flags it. 1 when it was a board key.
inline int Key(WORD key, bool control = false)
{
    switch (key) {
    case VK_LEFT: return MoveCursor(CursorLeft), 1;
    case VK_RIGHT: return MoveCursor(CursorRight), 1;
    case VK_UP: return MoveCursor(CursorUp), 1;
    case VK_DOWN: return MoveCursor(CursorDown), 1;
    case VK_HOME: return MoveCursor(control ? CursorFirst : CursorRowStart), 1;
    case VK_END: return MoveCursor(control ? CursorLast : CursorRowEnd), 1;
    case VK_SPACE:
    case VK_RETURN: return control ? 0 : (ClickAtCursor(), 1);
    case 'F': return control ? 0 : (FlagAtCursor(), 1);
    default: return 0;
    }
}

}  // namespace model
