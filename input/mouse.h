// The mouse cases of the main window, free of any window system: each takes
// the buttons held (as the window message reports them), and the pointer's
// client-area position read as unsigned 16-bit values.
#pragma once

#include <cstdint>

// Button bits, with the values the window messages use.
constexpr unsigned MouseLeft = 1;
constexpr unsigned MouseRight = 2;

// The square under the pointer at the last message that reached play;
// hoverRow is -1 over the counter strip above the board.
extern int32_t hoverColumn;
extern int32_t hoverRow;
// 1 after a press that left both buttons held; a left release with the
// right button up then opens nothing and clears it.
extern int32_t chordLatch;

enum SquareShape {
    ShapeCentre,  // the square itself
    ShapeRing,    // its eight neighbours
    ShapeBlock,   // ring and centre, nine squares
};

// The square holding client pixel (x, y): row -1 is the counter strip.
void SquareAtPoint(unsigned x, unsigned y, int* column, int* row);

// Draws `tile` on every covered, unmarked square of the shape around
// (column, row); squares off the board, opened or flagged are left alone.
void DrawCoveredSquares(int column, int row, SquareShape shape, int tile);

void MouseMove(unsigned buttons, unsigned x, unsigned y);
void LeftButtonDown(unsigned buttons, unsigned x, unsigned y);
void LeftButtonUp(unsigned buttons, unsigned x, unsigned y);
void RightButtonDown(unsigned buttons, unsigned x, unsigned y);
void RightButtonUp(unsigned buttons, unsigned x, unsigned y);
