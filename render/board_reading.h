// The board as a screen reader reads it, free of any platform: a table with
// one element per square, the counter and the notice of a game's end after
// them; which element a number names, which lies beside it or under a
// point, and which words say what it shows. The exe's accessible object and
// the page's reader both take their words from here.
#pragma once

#include "reader_texts.h"

// Element numbers: 0 is the board itself, 1 + row * columns + column a
// square, then the counter and the end notice.
constexpr long BoardItself = 0;
long SquareElement(int column, int row);
long CounterElement();
long EndingElement();
// The last element number of the current board.
long ElementCount();

// 1 when `element` is a square of the current board, with its place.
int ElementSquare(long element, int* column, int* row);

enum ReadingStep {
    StepLeft,
    StepRight,
    StepUp,
    StepDown,
    StepFirst,     // from the board itself: its first element
    StepLast,      // from the board itself: its last element
    StepNext,      // in element order
    StepPrevious,
};

// The element one step from `element`, or -1 where there is none (past an
// edge of the board, or a step that `element` does not take): the squares
// step left, right, up and down on the board, every element to the next and
// the previous in number order.
long StepFrom(long element, ReadingStep step);

// The element under client pixel (x, y) at the game's own scale: a square,
// the counter, or the board itself elsewhere in the client area; -1 outside.
long ElementAt(int x, int y);

// What `tile` shows, in words: the text, and for a number its count
// (ReaderSquareNumber's %d), else 0.
ReaderText TileWords(int tile, int* count);

// How the game ended: ReaderGameLost, ReaderGameWon, or ReaderTextCount
// while it has not.
ReaderText GameEnding();
