#include "render/board_reading.h"

#include "core/board.h"
#include "core/draw.h"
#include "core/geometry.h"
#include "render/counter_digits.h"

long SquareElement(int column, int row)
{
    return 1 + static_cast<long>(row) * columns + column;
}

long CounterElement()
{
    return static_cast<long>(columns) * rows + 1;
}

long EndingElement()
{
    return CounterElement() + 1;
}

long ElementCount()
{
    return EndingElement();
}

int ElementSquare(long element, int* column, int* row)
{
    if (element < 1 || element >= CounterElement())
        return 0;
    *column = static_cast<int>((element - 1) % columns);
    *row = static_cast<int>((element - 1) / columns);
    return 1;
}

long StepFrom(long element, ReadingStep step)
{
    if (element < 0 || element > ElementCount())
        return -1;
    if (step == StepFirst || step == StepLast) {
        if (element != BoardItself)
            return -1;
        return step == StepFirst ? 1 : ElementCount();
    }
    if (element == BoardItself)
        return -1;
    if (step == StepNext)
        return element < ElementCount() ? element + 1 : -1;
    if (step == StepPrevious)
        return element > 1 ? element - 1 : -1;
    int column, row;
    if (!ElementSquare(element, &column, &row))
        return -1;
    column += step == StepLeft ? -1 : step == StepRight ? 1 : 0;
    row += step == StepUp ? -1 : step == StepDown ? 1 : 0;
    return InBounds(column, row) ? SquareElement(column, row) : -1;
}

long ElementAt(int x, int y)
{
    if (x < 0 || y < 0 || x >= ClientWidth(columns) || y >= ClientHeight(rows))
        return -1;
    const int column = ColumnAtX(static_cast<unsigned>(x));
    const int row = RowAtY(static_cast<unsigned>(y));
    if (row >= 0)
        return SquareElement(column, row);
    return column < CounterCells ? CounterElement() : BoardItself;
}

ReaderText TileWords(int tile, int* count)
{
    *count = 0;
    switch (tile) {
    case TileFlag:
        return ReaderSquareFlag;
    case TileQuestion:
        return ReaderSquareQuestion;
    case TileOpenedEmpty:
        return ReaderSquareEmpty;
    case TileFlaggedBomb:
        return ReaderSquareFlaggedBomb;
    case TileWrongFlag:
        return ReaderSquareWrongFlag;
    case TileBomb:
        return ReaderSquareBomb;
    case TileExplodedBomb:
        return ReaderSquareExplodedBomb;
    default:
        break;
    }
    if (tile > TileOpenedEmpty && tile <= TileOpenedEmpty + 8) {
        *count = tile - TileOpenedEmpty;
        return ReaderSquareNumber;
    }
    // A covered square, and anything never drawn: nothing to tell yet.
    return ReaderSquareCovered;
}

ReaderText GameEnding()
{
    if (gameActive || firstClickPending)
        return ReaderTextCount;
    for (int column = 0; column < columns; ++column)
        for (int row = 0; row < rows; ++row)
            if (Board[column][row].opened && Board[column][row].mine)
                return ReaderGameLost;
    return ReaderGameWon;
}
