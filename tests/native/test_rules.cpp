// The rules of play on concrete boards of a fresh run: bomb layouts, the
// flood, the chord, flags, win and loss, and the requests that are refused.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "core/board.h"
#include "core/rules.h"
#include "input/mouse.h"
#include "tests/native/draw_recorder.h"
#include "tests/support/worked_game.h"

namespace {

using Square = std::pair<int, int>;  // (column, row)

std::vector<Square> BombsOnBoard()
{
    std::vector<Square> bombs;
    for (int column = 0; column < columns; ++column)
        for (int row = 0; row < rows; ++row)
            if (Board[column][row].mine)
                bombs.emplace_back(column, row);
    return bombs;
}

std::vector<Square> Sorted(std::vector<Square> squares)
{
    std::sort(squares.begin(), squares.end());
    return squares;
}

// The generator's state after `draws` results from the start value 1, taken
// from the generator itself, which leaves the state as it found it.
uint32_t StateAfterDraws(int draws)
{
    const uint32_t saved = randomState;
    randomState = 1;
    for (int i = 0; i < draws; ++i)
        NextRandom();
    const uint32_t state = randomState;
    randomState = saved;
    return state;
}

// The worked game (tests/support/worked_game.h), its bombs in the order
// they are laid.
const std::vector<Square> workedBombs(std::begin(worked::bombs), std::end(worked::bombs));

// A fresh run, NewGame and the first open at (0, 0); the log is emptied.
void StartWorkedGame()
{
    ResetProgramState(10, 5, 10);
    NewGame();
    ASSERT_EQ(OpenCell(0, 0), 1);
    ASSERT_EQ(Sorted(BombsOnBoard()), Sorted(workedBombs));
    drawLog.clear();
}


bool InPlay() { return gameActive == 1 && firstClickPending == 0; }
bool Over() { return gameActive == 0 && firstClickPending == 0; }

}  // namespace

// ---------------------------------------------------------------------------
// Bomb layouts

struct LayoutCase {
    const char* name;
    Square firstOpen;
    // Each bomb with the attempt (counted from 1) that placed it: attempts
    // that hit the opened square or a bomb already placed are discarded.
    std::vector<std::pair<Square, int>> bombsByAttempt;
    int firstOpenTile;
};

TEST(PlaceMines, FirstGameOfARunOn10x5)
{
    const LayoutCase cases[] = {
        {"first open at (0,0)",
         {0, 0},
         {{{1, 2}, 1}, {{4, 0}, 2}, {{9, 4}, 3}, {{8, 3}, 4}, {{2, 4}, 5},
          // The seventh attempt, (1,2) again, is discarded.
          {{5, 0}, 6}, {{1, 1}, 8}, {{5, 2}, 9}, {{7, 1}, 10}, {{1, 4}, 11}},
         4},
        {"first open at (1,2)",
         {1, 2},
         // The first and the seventh attempt hit the opened square.
         {{{4, 0}, 2}, {{9, 4}, 3}, {{8, 3}, 4}, {{2, 4}, 5}, {{5, 0}, 6},
          {{1, 1}, 8}, {{5, 2}, 9}, {{7, 1}, 10}, {{1, 4}, 11}, {{2, 3}, 12}},
         5},
    };
    for (const LayoutCase& c : cases) {
        SCOPED_TRACE(c.name);
        // With k bombs the layout is the first k bombs of the sequence and
        // takes two draws (column, then row) per attempt.
        for (size_t k = 1; k <= c.bombsByAttempt.size(); ++k) {
            ResetProgramState(10, 5, static_cast<int>(k));
            NewGame();
            drawLog.clear();
            ASSERT_EQ(OpenCell(c.firstOpen.first, c.firstOpen.second), 1);
            std::vector<Square> expected;
            for (size_t i = 0; i < k; ++i)
                expected.push_back(c.bombsByAttempt[i].first);
            EXPECT_EQ(Sorted(BombsOnBoard()), Sorted(expected)) << k << " bombs";
            EXPECT_EQ(randomState, StateAfterDraws(2 * c.bombsByAttempt[k - 1].second))
                << k << " bombs";
            EXPECT_TRUE(InPlay());
        }
        // With all ten bombs the open shows its number and floods nothing.
        EXPECT_EQ(drawLog, (std::vector<DrawCall>{
                               {c.firstOpen.first, c.firstOpen.second, c.firstOpenTile}}));
        EXPECT_EQ(OpenedSquares(), 1);
    }
}

TEST(PlaceMines, NeverPutsABombOnTheSquareBeingOpened)
{
    // Dense boards on which the generator hits the opened square often.
    for (int firstColumn = 0; firstColumn < 10; ++firstColumn) {
        for (int firstRow = 0; firstRow < 5; ++firstRow) {
            ResetProgramState(10, 5, 45);
            NewGame();
            drawLog.clear();
            ASSERT_EQ(OpenCell(firstColumn, firstRow), 1);
            EXPECT_EQ(Board[firstColumn][firstRow].mine, 0);
            EXPECT_EQ(BombsOnBoard().size(), 45u);
            EXPECT_TRUE(InPlay());
        }
    }
}

// The second game of a run goes on from the 23rd draw, whatever was done in
// the first one: only the layout of bombs draws from the generator.
TEST(PlaceMines, SecondGameContinuesTheSequence)
{
    const std::vector<Square> secondBombs = {{2, 3}, {2, 2}, {1, 1}, {8, 0}, {7, 1},
                                             {1, 3}, {9, 2}, {7, 4}, {5, 4}, {3, 1}};
    const std::pair<const char*, std::function<void()>> firstGames[] = {
        {"only the first open", [] {}},
        {"lost on (1,1)", [] { OpenCell(1, 1); }},
        {"won by flagging every bomb",
         [] {
             for (const Square& bomb : workedBombs)
                 CycleMark(bomb.first, bomb.second);
         }},
        {"many opens, flags and chords",
         [] {
             CycleMark(1, 1);
             OpenAround(0, 0);
             OpenCell(9, 0);
             OpenCell(4, 4);
             CycleMark(3, 3);
             CycleMark(3, 3);
             OpenCell(3, 2);
         }},
    };
    for (const auto& firstGame : firstGames) {
        SCOPED_TRACE(firstGame.first);
        ASSERT_NO_FATAL_FAILURE(StartWorkedGame());
        firstGame.second();
        ASSERT_EQ(randomState, StateAfterDraws(22));
        NewGame();
        ASSERT_EQ(OpenCell(0, 0), 1);
        EXPECT_EQ(Sorted(BombsOnBoard()), Sorted(secondBombs));
        EXPECT_EQ(randomState, StateAfterDraws(42));  // no attempt discarded
    }
    // The order: with k bombs in the second game, its first k bombs.
    for (size_t k = 1; k <= secondBombs.size(); ++k) {
        ASSERT_NO_FATAL_FAILURE(StartWorkedGame());
        bombCount = static_cast<int>(k);
        NewGame();
        ASSERT_EQ(OpenCell(0, 0), 1);
        EXPECT_EQ(Sorted(BombsOnBoard()),
                  Sorted(std::vector<Square>(secondBombs.begin(), secondBombs.begin() + k)))
            << k << " bombs";
        EXPECT_EQ(randomState, StateAfterDraws(22 + 2 * static_cast<int>(k))) << k << " bombs";
    }
}

// ---------------------------------------------------------------------------
// NewGame

TEST(NewGame, ClearsTheBoardRowByRowThenShowsTheCounter)
{
    ResetProgramState(12, 6, 7);
    // Leftovers of an earlier game, on the board and beyond it.
    for (auto& column : Board)
        for (Cell& cell : column)
            cell = Cell{1, 1, 1};
    randomState = 12345;
    hoverColumn = 3;
    hoverRow = -1;
    chordLatch = 1;
    gameActive = 0;
    firstClickPending = 0;
    mineCounter = -4;

    NewGame();

    std::vector<DrawCall> expected;
    for (int row = 0; row < 6; ++row)
        for (int column = 0; column < 12; ++column)
            expected.push_back({column, row, 0});
    expected.push_back(CounterCall(7));
    EXPECT_EQ(drawLog, expected);

    EXPECT_EQ(gameActive, 0);
    EXPECT_EQ(firstClickPending, 1);
    EXPECT_EQ(mineCounter, 7);
    EXPECT_EQ(shownCounter, 7);
    for (int column = 0; column < MaxColumns; ++column) {
        for (int row = 0; row < MaxRows; ++row) {
            const Cell& cell = Board[column][row];
            const bool onBoard = column < 12 && row < 6;
            const int expectedField = onBoard ? 0 : 1;
            EXPECT_EQ(cell.mine, expectedField) << "(" << column << "," << row << ")";
            EXPECT_EQ(cell.opened, expectedField) << "(" << column << "," << row << ")";
            EXPECT_EQ(cell.mark, expectedField) << "(" << column << "," << row << ")";
        }
    }
    // The generator and the input state are not the new game's business.
    EXPECT_EQ(randomState, 12345u);
    EXPECT_EQ(hoverColumn, 3);
    EXPECT_EQ(hoverRow, -1);
    EXPECT_EQ(chordLatch, 1);
}

// ---------------------------------------------------------------------------
// The flood

TEST(Flood, OpeningASquareWithNoBombAroundOpensDepthFirst)
{
    ASSERT_NO_FATAL_FAILURE(StartWorkedGame());
    EXPECT_EQ(OpenCell(9, 0), 1);
    const std::vector<DrawCall> expected = {{9, 0, 3}, {8, 0, 4}, {8, 1, 4},
                                            {9, 1, 3}, {8, 2, 5}, {9, 2, 4}};
    EXPECT_EQ(drawLog, expected);
    EXPECT_EQ(ScreenPicture(), Picture({
                                   "1#######1_",
                                   "########1_",
                                   "########21",
                                   "##########",
                                   "##########",
                               }));
    EXPECT_TRUE(InPlay());
}

TEST(Flood, AFlagNextToTheOpenedSquareStopsTheFlood)
{
    ASSERT_NO_FATAL_FAILURE(StartWorkedGame());
    ASSERT_EQ(CycleMark(9, 1), 1);
    drawLog.clear();
    EXPECT_EQ(OpenCell(9, 0), 1);
    EXPECT_EQ(drawLog, (std::vector<DrawCall>{{9, 0, 3}}));
    EXPECT_EQ(OpenedSquares(), 2);
    EXPECT_EQ(ScreenPicture(), worked::FirstOpenPictureWith({{9, 0, '_'}, {9, 1, 'F'}}));
}

TEST(Flood, LargestBoardWithFiveBombsOpensAllButTwoSafeSquares)
{
    ResetProgramState(36, 24, 5);
    NewGame();
    drawLog.clear();
    ASSERT_EQ(OpenCell(0, 0), 1);

    EXPECT_EQ(Sorted(BombsOnBoard()),
              Sorted({{5, 11}, {17, 4}, {30, 6}, {34, 4}, {34, 8}}));
    EXPECT_EQ(OpenedSquares(), 857);
    std::vector<Square> coveredSafe;
    for (int column = 0; column < columns; ++column)
        for (int row = 0; row < rows; ++row)
            if (!Board[column][row].opened && !Board[column][row].mine)
                coveredSafe.emplace_back(column, row);
    EXPECT_EQ(coveredSafe, (std::vector<Square>{{35, 4}, {35, 8}}));
    EXPECT_TRUE(InPlay());

    // One drawing per opened square, and the flood runs along row 0 to the
    // right first: none of those squares has a bomb around it.
    ASSERT_EQ(drawLog.size(), 857u);
    for (int column = 0; column < 36; ++column)
        EXPECT_EQ(drawLog[column], (DrawCall{column, 0, 3})) << "draw " << column;
    std::vector<std::vector<int>> drawsPerSquare(36, std::vector<int>(24, 0));
    for (const DrawCall& call : drawLog) {
        ASSERT_TRUE(InBounds(call.column, call.row)) << call;
        ++drawsPerSquare[call.column][call.row];
        EXPECT_TRUE(Board[call.column][call.row].opened) << call;
        EXPECT_EQ(call.tile, 3 + CountAdjacentMines(call.column, call.row)) << call;
    }
    for (int column = 0; column < 36; ++column)
        for (int row = 0; row < 24; ++row)
            EXPECT_EQ(drawsPerSquare[column][row], Board[column][row].opened ? 1 : 0)
                << "(" << column << "," << row << ")";
    EXPECT_EQ(drawsOffBoard, 0);
}

TEST(Flood, OpeningEverySafeSquareDoesNotWin)
{
    ASSERT_NO_FATAL_FAILURE(StartWorkedGame());
    for (int column = 0; column < 10; ++column)
        for (int row = 0; row < 5; ++row)
            if (!worked::IsBomb(column, row))
                OpenCell(column, row);
    EXPECT_EQ(OpenedSquares(), 40);
    EXPECT_TRUE(InPlay());
    EXPECT_EQ(mineCounter, 10);
}

// ---------------------------------------------------------------------------
// The chord and the loss

TEST(Chord, OpensTheUnmarkedNeighboursWhenTheFlagsMatch)
{
    ASSERT_NO_FATAL_FAILURE(StartWorkedGame());
    ASSERT_EQ(CycleMark(1, 1), 1);
    drawLog.clear();
    EXPECT_EQ(OpenAround(0, 0), 1);
    // Neighbour order: (1,0), then (0,1); the flagged (1,1) is left alone.
    EXPECT_EQ(drawLog, (std::vector<DrawCall>{{1, 0, 4}, {0, 1, 5}}));
    EXPECT_TRUE(InPlay());
}

TEST(Chord, RefusedWhenTheFlagsDoNotMatch)
{
    ASSERT_NO_FATAL_FAILURE(StartWorkedGame());
    const ProgramSnapshot before = TakeSnapshot();
    EXPECT_EQ(OpenAround(0, 0), 0);  // one bomb around, no flag
    EXPECT_TRUE(drawLog.empty());
    EXPECT_EQ(SnapshotDifference(before, TakeSnapshot()), "");
}

TEST(Chord, AWrongFlagLosesAndShowsTheWholeBoard)
{
    ASSERT_NO_FATAL_FAILURE(StartWorkedGame());
    ASSERT_EQ(CycleMark(0, 1), 1);
    ASSERT_EQ(mineCounter, 9);
    drawLog.clear();

    EXPECT_EQ(OpenAround(0, 0), 1);

    const std::vector<DrawCall> expected = {
        {1, 0, 4},  // the chord opens (1,0), skips the flag, opens the bomb (1,1)
        {4, 0, 14}, {5, 0, 14},                                  // row 0
        {0, 1, 13}, {1, 1, 14}, {7, 1, 14},                      // row 1
        {1, 2, 14}, {5, 2, 14},                                  // row 2
        {8, 3, 14},                                              // row 3
        {1, 4, 14}, {2, 4, 14}, {9, 4, 14},                      // row 4
        {1, 1, 15},                                              // the exploded bomb last
    };
    EXPECT_EQ(drawLog, expected);
    EXPECT_EQ(ScreenPicture(), Picture({
                                   "11##**####",
                                   "X@#####*##",
                                   "#*###*####",
                                   "########*#",
                                   "#**######*",
                               }));
    EXPECT_TRUE(Over());
    EXPECT_EQ(OpenedSquares(), 3);
    // The final picture is drawn, not stored: the flag is still a flag and
    // no other cell changed.
    EXPECT_EQ(Board[0][1].mark, 1);
    EXPECT_EQ(mineCounter, 9);
    EXPECT_EQ(shownCounter, 9);
}

TEST(Loss, OpeningABombDirectly)
{
    ASSERT_NO_FATAL_FAILURE(StartWorkedGame());
    ASSERT_EQ(CycleMark(4, 0), 1);  // a right flag is ringed
    ASSERT_EQ(CycleMark(3, 3), 1);  // a wrong one crossed
    ASSERT_EQ(OpenCell(9, 0), 1);   // opened squares keep their numbers
    drawLog.clear();

    EXPECT_EQ(OpenCell(9, 4), 1);
    EXPECT_EQ(drawLog.back(), (DrawCall{9, 4, 15}));
    EXPECT_EQ(ScreenPicture(), Picture({
                                   "1###R*##1_",
                                   "#*#####*1_",
                                   "#*###*##21",
                                   "###X####*#",
                                   "#**######@",
                               }));
    EXPECT_TRUE(Over());
}

// ---------------------------------------------------------------------------
// Flags and the win

namespace {

// What the tenth flag of the worked game draws: the flag, the counter at 0,
// then row by row every covered square with its number, a bomb after its
// number with the ringed flag.
std::vector<DrawCall> WinningDraws(Square lastFlag)
{
    std::vector<DrawCall> expected = {{lastFlag.first, lastFlag.second, 1}, CounterCall(0)};
    for (int row = 0; row < 5; ++row) {
        for (int column = 0; column < 10; ++column) {
            if (!Board[column][row].opened)
                expected.push_back({column, row, worked::NumberTile(column, row)});
            if (worked::IsBomb(column, row))
                expected.push_back({column, row, 12});
        }
    }
    return expected;
}

const std::string wonPicture = Picture(worked::wonPicture, worked::Rows);

}  // namespace

TEST(Flags, EachFlagShowsAndCountsDown)
{
    ASSERT_NO_FATAL_FAILURE(StartWorkedGame());
    EXPECT_EQ(CycleMark(3, 3), 1);
    EXPECT_EQ(drawLog, (std::vector<DrawCall>{{3, 3, 1}, CounterCall(9)}));
    EXPECT_EQ(Board[3][3].mark, 1);
    drawLog.clear();
    EXPECT_EQ(CycleMark(3, 3), 1);
    EXPECT_EQ(drawLog, (std::vector<DrawCall>{{3, 3, 0}, CounterCall(10)}));
    EXPECT_EQ(Board[3][3].mark, 0);
    EXPECT_EQ(mineCounter, 10);
}

TEST(Win, TheTenthFlagOnTheTenBombsWinsInAnyOrder)
{
    std::vector<Square> reversed(workedBombs.rbegin(), workedBombs.rend());
    std::vector<Square> interleaved = {{7, 1}, {1, 2}, {9, 4}, {1, 1}, {5, 0},
                                       {2, 4}, {4, 0}, {1, 4}, {8, 3}, {5, 2}};
    for (const std::vector<Square>& order : {workedBombs, reversed, interleaved}) {
        ASSERT_NO_FATAL_FAILURE(StartWorkedGame());
        for (size_t i = 0; i + 1 < order.size(); ++i) {
            drawLog.clear();
            ASSERT_EQ(CycleMark(order[i].first, order[i].second), 1);
            EXPECT_EQ(drawLog, (std::vector<DrawCall>{{order[i].first, order[i].second, 1},
                                                      CounterCall(9 - static_cast<int>(i))}));
            ASSERT_TRUE(InPlay());
        }
        drawLog.clear();
        const Square last = order.back();
        EXPECT_EQ(CycleMark(last.first, last.second), 1);
        EXPECT_EQ(drawLog, WinningDraws(last));
        EXPECT_EQ(ScreenPicture(), wonPicture);
        EXPECT_TRUE(Over());
        EXPECT_EQ(OpenedSquares(), 1);  // the reveal opens nothing
    }
}

TEST(Win, CounterAtZeroWithAWrongFlagIsNoWinUntilTheFlagGoes)
{
    ASSERT_NO_FATAL_FAILURE(StartWorkedGame());
    for (size_t i = 0; i < 9; ++i)
        ASSERT_EQ(CycleMark(workedBombs[i].first, workedBombs[i].second), 1);
    drawLog.clear();
    EXPECT_EQ(CycleMark(9, 0), 1);
    EXPECT_EQ(drawLog, (std::vector<DrawCall>{{9, 0, 1}, CounterCall(0)}));
    EXPECT_TRUE(InPlay());

    drawLog.clear();
    EXPECT_EQ(CycleMark(1, 4), 1);  // the tenth bomb
    EXPECT_EQ(drawLog, (std::vector<DrawCall>{{1, 4, 1}, CounterCall(-1)}));
    EXPECT_EQ(shownCounter, -1);
    EXPECT_TRUE(InPlay());

    drawLog.clear();
    EXPECT_EQ(CycleMark(9, 0), 1);  // removing the wrong flag wins
    std::vector<DrawCall> expected = WinningDraws({9, 0});
    expected[0] = {9, 0, 0};
    EXPECT_EQ(drawLog, expected);
    EXPECT_EQ(ScreenPicture(), wonPicture);
    EXPECT_TRUE(Over());
}

// ---------------------------------------------------------------------------
// Refused requests: result 0, nothing changed, nothing drawn.

TEST(Refusals, ChangeNothingAndDrawNothing)
{
    struct RefusalCase {
        const char* name;
        std::function<void()> setup;
        std::function<int()> request;
    };
    const auto fresh = [] {
        ResetProgramState(10, 5, 10);
        NewGame();
    };
    const auto lost = [] {
        ASSERT_NO_FATAL_FAILURE(StartWorkedGame());
        OpenCell(1, 1);
    };
    const auto won = [] {
        ASSERT_NO_FATAL_FAILURE(StartWorkedGame());
        for (const Square& bomb : workedBombs)
            CycleMark(bomb.first, bomb.second);
    };
    const RefusalCase cases[] = {
        {"OpenCell at program start, before any game", [] { ResetProgramState(10, 5, 10); },
         [] { return OpenCell(0, 0); }},
        {"CycleMark before the first open", fresh, [] { return CycleMark(3, 3); }},
        {"OpenCell left of the board before the first open", fresh,
         [] { return OpenCell(-1, 0); }},
        {"OpenCell above the board before the first open", fresh,
         [] { return OpenCell(4, -1); }},
        {"OpenCell right of the board before the first open", fresh,
         [] { return OpenCell(10, 0); }},
        {"OpenCell below the board before the first open", fresh,
         [] { return OpenCell(0, 5); }},
        {"CycleMark on an opened square", StartWorkedGame, [] { return CycleMark(0, 0); }},
        {"CycleMark on a square opened by the flood",
         [] {
             ASSERT_NO_FATAL_FAILURE(StartWorkedGame());
             OpenCell(9, 0);
         },
         [] { return CycleMark(9, 2); }},
        {"CycleMark left of the board", StartWorkedGame, [] { return CycleMark(-1, 2); }},
        {"CycleMark above the board", StartWorkedGame, [] { return CycleMark(2, -1); }},
        {"CycleMark right of the board", StartWorkedGame, [] { return CycleMark(10, 2); }},
        {"CycleMark below the board", StartWorkedGame, [] { return CycleMark(2, 5); }},
        {"CycleMark beyond the board inside the array", StartWorkedGame,
         [] { return CycleMark(20, 10); }},
        {"CycleMark after a loss", lost, [] { return CycleMark(3, 3); }},
        {"CycleMark removing a flag after a loss",
         [] {
             ASSERT_NO_FATAL_FAILURE(StartWorkedGame());
             CycleMark(4, 0);
             OpenCell(1, 1);
         },
         [] { return CycleMark(4, 0); }},
        {"CycleMark after a win", won, [] { return CycleMark(3, 3); }},
        {"CycleMark removing a flag after a win", won, [] { return CycleMark(1, 2); }},
        {"OpenCell on a flagged square",
         [] {
             ASSERT_NO_FATAL_FAILURE(StartWorkedGame());
             CycleMark(3, 3);
         },
         [] { return OpenCell(3, 3); }},
        {"OpenCell on a flagged bomb",
         [] {
             ASSERT_NO_FATAL_FAILURE(StartWorkedGame());
             CycleMark(1, 1);
         },
         [] { return OpenCell(1, 1); }},
        {"OpenCell on the square opened first", StartWorkedGame, [] { return OpenCell(0, 0); }},
        {"OpenCell on a square opened by the flood",
         [] {
             ASSERT_NO_FATAL_FAILURE(StartWorkedGame());
             OpenCell(9, 0);
         },
         [] { return OpenCell(8, 2); }},
        {"OpenCell off the board in play", StartWorkedGame, [] { return OpenCell(10, 4); }},
        {"OpenCell after a loss", lost, [] { return OpenCell(3, 3); }},
        {"OpenCell on a bomb after a loss", lost, [] { return OpenCell(1, 2); }},
        {"OpenCell after a win", won, [] { return OpenCell(3, 3); }},
        {"OpenAround with no flag beside a bomb", StartWorkedGame,
         [] { return OpenAround(0, 0); }},
        {"OpenAround with too many flags",
         [] {
             ASSERT_NO_FATAL_FAILURE(StartWorkedGame());
             CycleMark(1, 1);
             CycleMark(1, 0);
         },
         [] { return OpenAround(0, 0); }},
    };
    for (const RefusalCase& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(c.setup());
        drawLog.clear();
        const std::string screenBefore = ScreenPicture();
        const ProgramSnapshot before = TakeSnapshot();
        EXPECT_EQ(c.request(), 0);
        EXPECT_TRUE(drawLog.empty()) << drawLog.size() << " drawing calls";
        EXPECT_EQ(SnapshotDifference(before, TakeSnapshot()), "");
        EXPECT_EQ(ScreenPicture(), screenBefore);
    }
}

TEST(Refusals, AChordAfterTheEndChangesNothing)
{
    // The flags around (0,0) match its bomb, so OpenAround hands every
    // neighbour to OpenCell, which refuses each one once the game is over.
    ASSERT_NO_FATAL_FAILURE(StartWorkedGame());
    ASSERT_EQ(CycleMark(1, 1), 1);
    ASSERT_EQ(OpenCell(4, 0), 1);  // lost
    drawLog.clear();
    const ProgramSnapshot before = TakeSnapshot();
    OpenAround(0, 0);
    EXPECT_TRUE(drawLog.empty());
    EXPECT_EQ(SnapshotDifference(before, TakeSnapshot()), "");
}
