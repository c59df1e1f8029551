// The game's own rules and mouse layer, run inside the test on a recorded
// screen: what the window must show after the same mouse messages. The real
// program and this copy start from the same never-seeded generator, so they
// deal the same bombs for the same settings and squares.
//
// Defines DrawTile, DrawCounter and ResetScreenModel: include it in one test
// file only.
#pragma once

#include <windows.h>

#include "core/board.h"
#include "core/rules.h"
#include "input/mouse.h"
#include "core/draw.h"
#include "tests/e2e/driver.h"
#include "tests/support/program_state.h"

namespace model {
inline Screen screen;
}  // namespace model

void DrawTile(int column, int row, int tile)
{
    model::screen.Set(column, row, tile);
}

void DrawCounter()
{
    model::screen.Counter(mineCounter);
}

void ResetScreenModel()
{
    model::screen = UniformScreen(columns, rows, -1, 0);
}

namespace model {

// A fresh process's state for the given settings, and its first board.
inline void Start(int boardColumns, int boardRows, int bombs)
{
    ResetProgramState(boardColumns, boardRows, bombs);
    NewGame();
}

// One mouse message as the main window hands it to the mouse layer.
inline void Mouse(UINT message, unsigned buttons, int x, int y)
{
    const unsigned held = ((buttons & MK_LBUTTON) ? MouseLeft : 0u) | ((buttons & MK_RBUTTON) ? MouseRight : 0u);
    const unsigned px = static_cast<unsigned>(x) & 0xFFFF;
    const unsigned py = static_cast<unsigned>(y) & 0xFFFF;
    switch (message) {
    case WM_MOUSEMOVE: MouseMove(held, px, py); break;
    case WM_LBUTTONDOWN: LeftButtonDown(held, px, py); break;
    case WM_LBUTTONUP: LeftButtonUp(held, px, py); break;
    case WM_RBUTTONDOWN: RightButtonDown(held, px, py); break;
    case WM_RBUTTONUP: RightButtonUp(held, px, py); break;
    default: break;
    }
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

}  // namespace model
