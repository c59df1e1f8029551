// The keyboard cursor: the square that the keys play on, as the page's
// keys and the exe's keys move it. It always names a square of the current
// board; a smaller board brings it inside.
#pragma once

#include <cstdint>

extern int32_t cursorColumn;
extern int32_t cursorRow;

enum CursorMove {
    CursorLeft,
    CursorRight,
    CursorUp,
    CursorDown,
    CursorRowStart,  // Home
    CursorRowEnd,    // End
    CursorFirst,     // Ctrl+Home: the top-left square
    CursorLast,      // Ctrl+End: the bottom-right square
};

// Moves the cursor; at an edge it stays. 1 when it moved, else 0.
int MoveCursor(CursorMove move);

// Puts the cursor on square (column, row). 1 when that lies on the board
// and the cursor moved there, else 0 and it stays.
int PlaceCursor(int column, int row);

// Brings the cursor onto the current board after a change of size. 1 when
// it moved.
int KeepCursorOnBoard();

// A left click on the cursor's square (on an opened number, the chord), and
// a right click, as the keys play them: through the presses of one square,
// at its centre.
void ClickAtCursor();
void FlagAtCursor();
