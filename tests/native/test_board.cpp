// The board model: bounds, neighbour counts and the random generator.
#include <gtest/gtest.h>

#include <climits>

#include "core/board.h"
#include "core/rules.h"
#include "tests/native/draw_recorder.h"

TEST(NextRandom, FirstTenResultsFromAFreshRun)
{
    ResetProgramState(10, 5, 10);
    const int expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464};
    for (int value : expected)
        EXPECT_EQ(NextRandom(), value);
}

TEST(NextRandom, StateWrapsModulo2To32AndResultKeepsBits16To30)
{
    ResetProgramState(10, 5, 10);
    // States whose product overflows 32 bits: the wrapped state must be
    // kept, and bit 31 of it (set in the last two) must not leak into the
    // result. Worked out by hand from the generator's published constants.
    const struct {
        uint32_t state, next;
        int result;
    } steps[] = {{0xFFFFFFFFu, 2316998u, 35}, {0xFFFFFFF0u, 4294074099u, 32754}, {0xDEADBEEFu, 3349274102u, 18337}};
    for (const auto& step : steps) {
        randomState = step.state;
        EXPECT_EQ(NextRandom(), step.result) << std::hex << step.state;
        EXPECT_EQ(randomState, step.next) << std::hex << step.state;
    }

    for (int i = 0; i < 1000; ++i) {
        const int value = NextRandom();
        ASSERT_GE(value, 0);
        ASSERT_LE(value, 32767);
    }
}

struct BoundsCase {
    int columns, rows;
    int column, row;
    int expected;
};

TEST(InBounds, AcceptsExactlyTheCurrentBoard)
{
    const BoundsCase cases[] = {
        {10, 5, 0, 0, 1},
        {10, 5, 9, 4, 1},
        {10, 5, 9, 0, 1},
        {10, 5, 0, 4, 1},
        {10, 5, -1, 0, 0},
        {10, 5, 0, -1, 0},
        {10, 5, 10, 0, 0},
        {10, 5, 0, 5, 0},
        {10, 5, 10, 5, 0},
        {10, 5, -1, -1, 0},
        // Inside the array's capacity but beyond the current board.
        {10, 5, 35, 23, 0},
        {10, 5, 20, 2, 0},
        // Far off in both directions: the comparisons are signed.
        {10, 5, INT_MIN, 0, 0},
        {10, 5, 0, INT_MIN, 0},
        {10, 5, INT_MAX, 0, 0},
        {10, 5, 4095, 4094, 0},
        {36, 24, 35, 23, 1},
        {36, 24, 36, 23, 0},
        {36, 24, 35, 24, 0},
        {17, 9, 16, 8, 1},
        {17, 9, 17, 8, 0},
        {17, 9, 16, 9, 0},
    };
    for (const BoundsCase& c : cases) {
        ResetProgramState(c.columns, c.rows, 5);
        EXPECT_EQ(InBounds(c.column, c.row), c.expected)
            << "board " << c.columns << "x" << c.rows << ", square (" << c.column << "," << c.row
            << ")";
    }
}

namespace {

// 3 for a corner, 5 for another edge square, 8 for an inner square.
int NeighboursOnBoard(int column, int row)
{
    const bool leftOrRight = column == 0 || column == columns - 1;
    const bool topOrBottom = row == 0 || row == rows - 1;
    if (leftOrRight && topOrBottom)
        return 3;
    if (leftOrRight || topOrBottom)
        return 5;
    return 8;
}

void FillWholeArray(Cell cell)
{
    for (auto& column : Board)
        for (Cell& square : column)
            square = cell;
}

}  // namespace

TEST(NeighbourCounts, EverySquareOfAFullBoardCountsItsNeighboursOnTheBoard)
{
    const int sizes[][2] = {{10, 5}, {36, 24}, {17, 9}, {24, 10}};
    for (const auto& size : sizes) {
        ResetProgramState(size[0], size[1], 5);
        // The whole array, the current board and what lies beyond, holds a
        // bomb and a flag on every cell.
        FillWholeArray(Cell{1, 0, 1});
        for (int column = 0; column < columns; ++column) {
            for (int row = 0; row < rows; ++row) {
                const int expected = NeighboursOnBoard(column, row);
                EXPECT_EQ(CountAdjacentMines(column, row), expected)
                    << size[0] << "x" << size[1] << " at (" << column << "," << row << ")";
                EXPECT_EQ(CountAdjacentMarks(column, row), expected)
                    << size[0] << "x" << size[1] << " at (" << column << "," << row << ")";
            }
        }
    }
}

TEST(NeighbourCounts, CountTheEightNeighboursButNeverTheSquareItself)
{
    ResetProgramState(10, 5, 5);
    // A lone bomb and flag at (4, 2): each of its eight neighbours counts it
    // once, the square itself and everything further away count nothing.
    Board[4][2] = Cell{1, 0, 1};
    for (int column = 0; column < columns; ++column) {
        for (int row = 0; row < rows; ++row) {
            const bool neighbour = (column != 4 || row != 2) && column >= 3 && column <= 5 &&
                                   row >= 1 && row <= 3;
            EXPECT_EQ(CountAdjacentMines(column, row), neighbour ? 1 : 0)
                << "(" << column << "," << row << ")";
            EXPECT_EQ(CountAdjacentMarks(column, row), neighbour ? 1 : 0)
                << "(" << column << "," << row << ")";
        }
    }
}

TEST(NeighbourCounts, AnyNonzeroFieldCountsAndOpenedPlaysNoPart)
{
    ResetProgramState(10, 5, 5);
    Board[0][0] = Cell{-1, 0, 0};
    Board[1][0] = Cell{2, 1, 0};
    Board[2][0] = Cell{0, 1, 7};
    Board[0][1] = Cell{0, 0, -3};
    Board[2][1] = Cell{0, 5, 0};  // opened only: neither a bomb nor a mark
    Board[1][1] = Cell{1, 1, 1};  // the square itself is never counted
    EXPECT_EQ(CountAdjacentMines(1, 1), 2);
    EXPECT_EQ(CountAdjacentMarks(1, 1), 2);
}

TEST(NeighbourCounts, CountsTakeTheNeighboursOffTheBoardNeverIntoAccount)
{
    // Squares just outside the board, where the counts may still be asked
    // for (the counter strip is row -1): only their neighbours on the board
    // count.
    ResetProgramState(10, 5, 5);
    FillWholeArray(Cell{1, 0, 1});
    Board[0][0] = Cell{0, 0, 0};
    EXPECT_EQ(CountAdjacentMines(-1, -1), 0);
    EXPECT_EQ(CountAdjacentMines(4, -1), 3);
    EXPECT_EQ(CountAdjacentMarks(-1, 2), 3);
    EXPECT_EQ(CountAdjacentMines(10, 4), 2);
    EXPECT_EQ(CountAdjacentMines(10, 5), 1);
    EXPECT_EQ(CountAdjacentMines(0, -1), 1);  // (0,0) is clear, (1,0) counts
}

TEST(NeighbourCounts, CellsLeftOverFromALargerBoardChangeNoCount)
{
    // A game on the largest board packed with bombs and flags...
    ResetProgramState(36, 24, 36 * 24 - 5);
    NewGame();
    ASSERT_EQ(OpenCell(0, 0), 1);
    for (int column = 0; column < columns; ++column)
        for (int row = 0; row < rows; ++row)
            CycleMark(column, row);
    int bombsBeyond = 0, flagsBeyond = 0;
    for (int column = 0; column < 36; ++column) {
        for (int row = 0; row < 24; ++row) {
            if (column >= 10 || row >= 5) {
                bombsBeyond += Board[column][row].mine != 0;
                flagsBeyond += Board[column][row].mark != 0;
            }
        }
    }
    // ...leaves bombs and flags just beyond column 9 and row 4.
    ASSERT_GT(bombsBeyond, 700);
    ASSERT_GT(flagsBeyond, 0);
    ASSERT_TRUE(Board[10][0].mine || Board[10][0].mark);

    // On the smaller board laid out afterwards, nothing counts them.
    columns = 10;
    rows = 5;
    bombCount = 10;
    NewGame();
    for (int column = 0; column < columns; ++column) {
        for (int row = 0; row < rows; ++row) {
            EXPECT_EQ(CountAdjacentMines(column, row), 0) << "(" << column << "," << row << ")";
            EXPECT_EQ(CountAdjacentMarks(column, row), 0) << "(" << column << "," << row << ")";
        }
    }
}
