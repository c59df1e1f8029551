// A count the tests and the benchmark take of the board alike.
#pragma once

#include "core/board.h"

// Opened squares on the current board.
inline int OpenedSquares()
{
    int opened = 0;
    for (int column = 0; column < columns; ++column)
        for (int row = 0; row < rows; ++row)
            opened += Board[column][row].opened != 0;
    return opened;
}
