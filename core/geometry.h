// Where things lie in the client area: 16 x 16-pixel squares under a
// 16-pixel counter strip. The one home of the square size and of the
// square <-> pixel mapping, for the game, its front ends, tests and tools.
#pragma once

constexpr int SquareSize = 16;
// The counter strip above the board belongs to no square.
constexpr int CounterStripHeight = SquareSize;

// Top-left client pixel of square (column, row).
constexpr int SquareLeft(int column)
{
    return SquareSize * column;
}
constexpr int SquareTop(int row)
{
    return CounterStripHeight + SquareSize * row;
}

// The client area of a board of `boardColumns` x `boardRows` squares.
constexpr int ClientWidth(int boardColumns)
{
    return SquareSize * boardColumns;
}
constexpr int ClientHeight(int boardRows)
{
    return CounterStripHeight + SquareSize * boardRows;
}

// The square holding client pixel (x, y); row -1 is the counter strip.
constexpr int ColumnAtX(unsigned x)
{
    return static_cast<int>(x / SquareSize);
}
constexpr int RowAtY(unsigned y)
{
    return static_cast<int>(y / SquareSize) - 1;
}
