// The board as a screen reader reads it, and the keyboard cursor: element
// numbers and their squares, steps between them, the element under a point,
// the words of every tile, the end of a game, and the cursor's moves, which
// stop at the edges and come inside a smaller board.
#include <gtest/gtest.h>

#include "core/board.h"
#include "core/draw.h"
#include "core/geometry.h"
#include "core/rules.h"
#include "input/board_cursor.h"
#include "render/board_reading.h"
#include "tests/native/draw_recorder.h"
#include "tests/support/program_state.h"

namespace {

TEST(BoardReading, ElementsNumberSquaresRowByRowThenTheCounterAndTheEnding)
{
    ResetProgramState(12, 7, 10);
    EXPECT_EQ(SquareElement(0, 0), 1);
    EXPECT_EQ(SquareElement(3, 2), 1 + 2 * 12 + 3);
    EXPECT_EQ(CounterElement(), 12 * 7 + 1);
    EXPECT_EQ(EndingElement(), 12 * 7 + 2);
    EXPECT_EQ(ElementCount(), EndingElement());
    for (long element = 1; element < CounterElement(); ++element) {
        int column = -1, row = -1;
        ASSERT_TRUE(ElementSquare(element, &column, &row)) << element;
        EXPECT_EQ(SquareElement(column, row), element);
    }
    int column, row;
    for (long element : {0L, -1L, CounterElement(), EndingElement(), 0x7FFFFFFFL})
        EXPECT_FALSE(ElementSquare(element, &column, &row)) << element;
}

TEST(BoardReading, StepsStopAtTheEdgesAndTheBoardItselfStepsOnlyToItsEnds)
{
    ResetProgramState(10, 5, 5);
    struct Case {
        long from;
        ReadingStep step;
        long to;
    } cases[] = {
        {SquareElement(0, 0), StepLeft, -1},   {SquareElement(0, 0), StepUp, -1},
        {SquareElement(0, 0), StepRight, 2},   {SquareElement(0, 0), StepDown, SquareElement(0, 1)},
        {SquareElement(9, 4), StepRight, -1},  {SquareElement(9, 4), StepDown, -1},
        {SquareElement(9, 0), StepRight, -1},  {SquareElement(5, 2), StepUp, SquareElement(5, 1)},
        {SquareElement(9, 4), StepNext, CounterElement()}, {EndingElement(), StepNext, -1},
        {1, StepPrevious, -1},                 {BoardItself, StepFirst, 1},
        {BoardItself, StepLast, EndingElement()}, {BoardItself, StepNext, -1},
        {SquareElement(2, 2), StepFirst, -1},  {CounterElement(), StepLeft, -1},
        {EndingElement() + 1, StepNext, -1},   {-1, StepFirst, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(StepFrom(c.from, c.step), c.to) << c.from << " step " << c.step;
}

TEST(BoardReading, ThePointFindsItsSquareTheCounterOrTheBoard)
{
    ResetProgramState(10, 5, 5);
    EXPECT_EQ(ElementAt(0, 16), SquareElement(0, 0));
    EXPECT_EQ(ElementAt(15, 31), SquareElement(0, 0));
    EXPECT_EQ(ElementAt(16, 32), SquareElement(1, 1));
    EXPECT_EQ(ElementAt(159, 95), SquareElement(9, 4));
    EXPECT_EQ(ElementAt(63, 0), CounterElement());
    EXPECT_EQ(ElementAt(64, 0), BoardItself);
    for (auto [x, y] : {std::pair{-1, 20}, {160, 20}, {5, 96}, {5, -1}})
        EXPECT_EQ(ElementAt(x, y), -1) << x << ", " << y;
}

TEST(BoardReading, EveryTileHasItsWords)
{
    struct Case {
        int tile;
        ReaderText words;
        int count;
    } cases[] = {
        {TileCovered, ReaderSquareCovered, 0},    {TileFlag, ReaderSquareFlag, 0},
        {TileQuestion, ReaderSquareQuestion, 0},  {TileOpenedEmpty, ReaderSquareEmpty, 0},
        {TileOpenedOne, ReaderSquareNumber, 1},   {TileOpenedEmpty + 8, ReaderSquareNumber, 8},
        {TileFlaggedBomb, ReaderSquareFlaggedBomb, 0}, {TileWrongFlag, ReaderSquareWrongFlag, 0},
        {TileBomb, ReaderSquareBomb, 0},          {TileExplodedBomb, ReaderSquareExplodedBomb, 0},
        {-1, ReaderSquareCovered, 0},
    };
    for (const Case& c : cases) {
        int count = -1;
        EXPECT_EQ(TileWords(c.tile, &count), c.words) << c.tile;
        EXPECT_EQ(count, c.count) << c.tile;
    }
}

TEST(BoardReading, TheEndingIsToldOnlyOnceTheGameIsOver)
{
    ResetProgramState(10, 5, 5);
    NewGame();
    EXPECT_EQ(GameEnding(), ReaderTextCount);
    ClickAtCursor();  // (0, 0): the first open, never a bomb
    EXPECT_EQ(GameEnding(), ReaderTextCount);
    for (int column = 0; column < columns && GameEnding() == ReaderTextCount; ++column)
        for (int row = 0; row < rows; ++row)
            if (Board[column][row].mine) {
                OpenCell(column, row);
                break;
            }
    EXPECT_EQ(GameEnding(), ReaderGameLost);
}

TEST(BoardCursor, MovesStopAtTheEdgesAndASmallerBoardTakesItIn)
{
    ResetProgramState(10, 5, 5);
    PlaceCursor(0, 0);
    EXPECT_EQ(MoveCursor(CursorLeft), 0);
    EXPECT_EQ(MoveCursor(CursorUp), 0);
    EXPECT_EQ(MoveCursor(CursorRowEnd), 1);
    EXPECT_EQ(cursorColumn, 9);
    EXPECT_EQ(MoveCursor(CursorRight), 0);
    EXPECT_EQ(MoveCursor(CursorLast), 1);
    EXPECT_EQ((std::pair{cursorColumn, cursorRow}), (std::pair{9, 4}));
    EXPECT_EQ(MoveCursor(CursorRowStart), 1);
    EXPECT_EQ((std::pair{cursorColumn, cursorRow}), (std::pair{0, 4}));
    EXPECT_EQ(MoveCursor(CursorFirst), 1);
    EXPECT_EQ(PlaceCursor(10, 0), 0);
    EXPECT_EQ(PlaceCursor(7, 3), 1);
    ResetProgramState(36, 24, 10);
    PlaceCursor(30, 20);
    ResetProgramState(10, 5, 5);
    EXPECT_EQ(KeepCursorOnBoard(), 1);
    EXPECT_EQ((std::pair{cursorColumn, cursorRow}), (std::pair{9, 4}));
}

TEST(BoardCursor, SpaceAndFPlayTheCursorsSquareAsTheMouseWould)
{
    ResetProgramState(10, 5, 5);
    NewGame();
    PlaceCursor(0, 0);
    ClickAtCursor();
    ASSERT_EQ(Board[0][0].opened, 1);
    ASSERT_EQ(gameActive, 1);
    int column = 0, row = 0;
    while (Board[column][row].opened)
        if (++column == columns)
            column = 0, ++row;
    PlaceCursor(column, row);
    FlagAtCursor();
    EXPECT_EQ(Board[column][row].mark, 1);
    EXPECT_EQ(mineCounter, 4);
    ClickAtCursor();  // a flagged square does not open
    EXPECT_EQ(Board[column][row].opened, 0);
    FlagAtCursor();
    EXPECT_EQ(Board[column][row].mark, 0);
    EXPECT_EQ(mineCounter, 5);
}

}  // namespace
