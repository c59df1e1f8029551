// Whole games played on the real tsweeper.exe with mouse messages sent to its
// window: after each step the full screen (every square and the counter) must
// show exactly the expected tiles.
//
// A fresh process always deals the worked game (tests/support/worked_game.h).
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/e2e/screen_checks.h"

namespace {

using worked::Columns;
using worked::Rows;

// `screen` with (column, row) opened.
Screen& Opened(Screen& screen, int column, int row) { return screen.Set(column, row, worked::NumberTile(column, row)); }

class MousePlay : public WorkedGameTest {
protected:
    void Mouse(UINT message, unsigned buttons, int column, int row) const
    {
        game_->Send(message, buttons, SquareX(column), SquareY(row));
    }
    void Click(int column, int row) const { game_->ClickSquare(column, row); }
    void RightPress(int column, int row) const { game_->RightPressSquare(column, row); }

    // Both buttons pressed over a square, the left one first.
    void PressBoth(int column, int row) const
    {
        Mouse(WM_MOUSEMOVE, 0, column, row);
        Mouse(WM_LBUTTONDOWN, MK_LBUTTON, column, row);
        Mouse(WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, column, row);
    }

    // Opens (0, 0), the first open that deals the known layout.
    Screen OpenFirst() const
    {
        Click(0, 0);
        Screen expected = Fresh();
        Opened(expected, 0, 0);
        EXPECT_TRUE(Shows(*game_, expected)) << "first open at (0, 0)";
        return expected;
    }

    // After the end: presses, releases, moves, flags and chords change
    // nothing; then a new game from the menu starts afresh.
    void ExpectOverThenNewGame(const Screen& over) const
    {
        Mouse(WM_MOUSEMOVE, 0, 6, 4);
        Mouse(WM_LBUTTONDOWN, MK_LBUTTON, 6, 4);
        EXPECT_TRUE(StillShows(*game_, over)) << "left press after the end";
        Mouse(WM_MOUSEMOVE, MK_LBUTTON, 6, 3);
        Mouse(WM_LBUTTONUP, 0, 6, 3);
        RightPress(6, 4);
        RightPress(4, 0);
        RightPress(1, 1);
        Click(3, 3);
        for (const bool leftFirst : {true, false}) {
            PressBoth(0, 0);
            Mouse(leftFirst ? WM_LBUTTONUP : WM_RBUTTONUP, leftFirst ? MK_RBUTTON : MK_LBUTTON, 0, 0);
            Mouse(leftFirst ? WM_RBUTTONUP : WM_LBUTTONUP, 0, 0, 0);
        }
        EXPECT_TRUE(StillShows(*game_, over)) << "clicks, flags and chords after the end";
        game_->MenuCommand(IDM_NEWGAME);
        EXPECT_TRUE(Shows(*game_, Fresh())) << "new game";
    }

    // Opens (0, 0), then flags (column, row).
    Screen OpenFirstAndFlag(int column, int row) const
    {
        Screen expected = OpenFirst();
        RightPress(column, row);
        expected.Set(column, row, TileFlag).Counter(worked::BombCount - 1);
        EXPECT_TRUE(Shows(*game_, expected)) << "flag on (" << column << ", " << row << ")";
        return expected;
    }

};

TEST_F(MousePlay, FirstOpenShowsItsNumberThenAnEmptySquareFloods)
{
    Screen expected = OpenFirst();
    EXPECT_EQ(expected.Square(0, 0), 4);

    Click(9, 0);
    expected.Set(9, 0, 3).Set(8, 0, 4).Set(8, 1, 4).Set(9, 1, 3).Set(8, 2, 5).Set(9, 2, 4);
    EXPECT_TRUE(Shows(*game_, expected)) << "open (9, 0)";
}

TEST_F(MousePlay, LeftPressShowsThePressedSquareWhichFollowsTheDrag)
{
    Screen expected = OpenFirst();

    Mouse(WM_MOUSEMOVE, 0, 3, 3);
    Mouse(WM_LBUTTONDOWN, MK_LBUTTON, 3, 3);
    EXPECT_TRUE(Shows(*game_, Pressed(expected, {{3, 3}}))) << "left press on (3, 3)";

    Mouse(WM_MOUSEMOVE, MK_LBUTTON, 2, 3);
    EXPECT_TRUE(Shows(*game_, Pressed(expected, {{2, 3}}))) << "drag to (2, 3)";

    // The release opens the square under the pointer, not the one pressed.
    Mouse(WM_LBUTTONUP, 0, 2, 3);
    Opened(expected, 2, 3);
    EXPECT_EQ(expected.Square(2, 3), 6);
    EXPECT_TRUE(Shows(*game_, expected)) << "release on (2, 3)";

    // Dragged off the board onto the counter strip: nothing stays pressed
    // and the release there opens nothing.
    Mouse(WM_MOUSEMOVE, 0, 6, 3);
    Mouse(WM_LBUTTONDOWN, MK_LBUTTON, 6, 3);
    EXPECT_TRUE(Shows(*game_, Pressed(expected, {{6, 3}}))) << "left press on (6, 3)";
    game_->Send(WM_MOUSEMOVE, MK_LBUTTON, SquareX(6), 8);
    EXPECT_TRUE(Shows(*game_, expected)) << "drag onto the counter";
    game_->Send(WM_LBUTTONUP, 0, SquareX(6), 8);
    EXPECT_TRUE(StillShows(*game_, expected)) << "release over the counter";

    // An opened square never shows pressed, and clicking it changes nothing.
    Mouse(WM_MOUSEMOVE, 0, 0, 0);
    Mouse(WM_LBUTTONDOWN, MK_LBUTTON, 0, 0);
    EXPECT_TRUE(StillShows(*game_, expected)) << "left press on the opened (0, 0)";
    Mouse(WM_LBUTTONUP, 0, 0, 0);
    EXPECT_TRUE(StillShows(*game_, expected)) << "release on the opened (0, 0)";
}

TEST_F(MousePlay, RightPressTogglesAFlagAndTheCounter)
{
    // No flag before the first open.
    RightPress(3, 3);
    EXPECT_TRUE(StillShows(*game_, Fresh())) << "right press before the first open";

    Screen expected = OpenFirst();

    Mouse(WM_MOUSEMOVE, 0, 3, 3);
    Mouse(WM_RBUTTONDOWN, MK_RBUTTON, 3, 3);
    expected.Set(3, 3, 1).Counter(9);
    EXPECT_TRUE(Shows(*game_, expected)) << "right press on (3, 3)";
    Mouse(WM_RBUTTONUP, 0, 3, 3);
    EXPECT_TRUE(StillShows(*game_, expected)) << "right release on (3, 3)";

    // A flagged square neither shows pressed nor opens.
    Mouse(WM_LBUTTONDOWN, MK_LBUTTON, 3, 3);
    EXPECT_TRUE(StillShows(*game_, expected)) << "left press on the flag";
    Mouse(WM_LBUTTONUP, 0, 3, 3);
    EXPECT_TRUE(StillShows(*game_, expected)) << "left release on the flag";

    RightPress(3, 3);
    expected.Set(3, 3, 0).Counter(10);
    EXPECT_TRUE(Shows(*game_, expected)) << "second right press on (3, 3)";

    RightPress(0, 0);
    EXPECT_TRUE(StillShows(*game_, expected)) << "right press on the opened (0, 0)";
}

TEST_F(MousePlay, ChordOnASatisfiedNumberOpensItsNeighbours)
{
    Screen expected = OpenFirstAndFlag(1, 1);  // the bomb

    // Left release first: the chord opens (1, 0) and (0, 1).
    PressBoth(0, 0);
    EXPECT_TRUE(Shows(*game_, Pressed(expected, {{1, 0}, {0, 1}}))) << "both buttons on (0, 0)";
    Mouse(WM_LBUTTONUP, MK_RBUTTON, 0, 0);
    Opened(expected, 1, 0);
    Opened(expected, 0, 1);
    EXPECT_EQ(expected.Square(1, 0), 4);
    EXPECT_EQ(expected.Square(0, 1), 5);
    EXPECT_TRUE(Shows(*game_, expected)) << "left release of the chord on (0, 0)";
    Mouse(WM_RBUTTONUP, 0, 0, 0);
    EXPECT_TRUE(StillShows(*game_, expected)) << "right release after the chord";

    // Right release first: the chord on (1, 0) opens (2, 0) and (2, 1), and
    // the left release after it opens nothing more.
    PressBoth(1, 0);
    EXPECT_TRUE(Shows(*game_, Pressed(expected, {{2, 0}, {2, 1}}))) << "both buttons on (1, 0)";
    Mouse(WM_RBUTTONUP, MK_LBUTTON, 1, 0);
    Opened(expected, 2, 0);
    Opened(expected, 2, 1);
    EXPECT_TRUE(Shows(*game_, expected)) << "right release of the chord on (1, 0)";
    Mouse(WM_LBUTTONUP, 0, 1, 0);
    EXPECT_TRUE(StillShows(*game_, expected)) << "left release after the chord";
}

TEST_F(MousePlay, RefusedChordShowsThenRestoresTheNeighbours)
{
    Screen expected = OpenFirst();

    // (0, 0) has one bomb around it and no flag: nothing opens.
    PressBoth(0, 0);
    EXPECT_TRUE(Shows(*game_, Pressed(expected, {{1, 0}, {0, 1}, {1, 1}}))) << "both buttons on (0, 0)";
    Mouse(WM_LBUTTONUP, MK_RBUTTON, 0, 0);
    EXPECT_TRUE(Shows(*game_, expected)) << "left release on (0, 0)";
    Mouse(WM_RBUTTONUP, 0, 0, 0);
    EXPECT_TRUE(StillShows(*game_, expected)) << "right release on (0, 0)";

    // Over a covered square: the whole block shows pressed; the left release
    // restores the ring only and opens nothing, the right release the rest.
    PressBoth(3, 3);
    const Screen block = Pressed(expected, {{2, 2}, {3, 2}, {4, 2}, {2, 3}, {3, 3}, {4, 3}, {2, 4}, {3, 4}, {4, 4}});
    EXPECT_TRUE(Shows(*game_, block)) << "both buttons on the covered (3, 3)";
    Mouse(WM_LBUTTONUP, MK_RBUTTON, 3, 3);
    EXPECT_TRUE(Shows(*game_, Pressed(expected, {{3, 3}}))) << "left release on (3, 3)";
    Mouse(WM_RBUTTONUP, 0, 3, 3);
    EXPECT_TRUE(Shows(*game_, expected)) << "right release on (3, 3)";

    // Right button let go first over a covered square: the block is restored,
    // and the left release that follows is an ordinary open.
    PressBoth(3, 3);
    Mouse(WM_RBUTTONUP, MK_LBUTTON, 3, 3);
    EXPECT_TRUE(Shows(*game_, expected)) << "right release first on (3, 3)";
    Mouse(WM_LBUTTONUP, 0, 3, 3);
    Opened(expected, 3, 3);
    EXPECT_EQ(expected.Square(3, 3), 4);
    EXPECT_TRUE(Shows(*game_, expected)) << "left release after it on (3, 3)";
}

// The end-of-game picture of a loss: every bomb shown, flags judged, the
// opened bomb exploded, every other square as it was.
Screen LostPicture(Screen before, int lostColumn, int lostRow)
{
    for (int column = 0; column < Columns; ++column)
        for (int row = 0; row < Rows; ++row) {
            const bool flagged = before.Square(column, row) == 1;
            if (worked::IsBomb(column, row))
                before.Set(column, row, flagged ? 12 : 14);
            else if (flagged)
                before.Set(column, row, 13);
        }
    return before.Set(lostColumn, lostRow, 15);
}

TEST_F(MousePlay, OpeningABombLosesAndTheBoardThenIgnoresTheMouse)
{
    Screen expected = OpenFirst();
    RightPress(4, 0);
    RightPress(3, 3);
    expected.Set(4, 0, 1).Set(3, 3, 1).Counter(8);
    EXPECT_TRUE(Shows(*game_, expected)) << "a right and a wrong flag";

    Click(5, 2);
    expected = LostPicture(expected, 5, 2);
    EXPECT_EQ(expected.Square(4, 0), 12);
    EXPECT_EQ(expected.Square(3, 3), 13);
    EXPECT_EQ(expected.Square(9, 4), 14);
    EXPECT_TRUE(Shows(*game_, expected)) << "open the bomb (5, 2)";

    ExpectOverThenNewGame(expected);
    Click(0, 0);
    EXPECT_TRUE(Shows(*game_, Fresh().Set(0, 0, 4))) << "first open of the second game";
}

TEST_F(MousePlay, ChordOverAWrongFlagLoses)
{
    Screen expected = OpenFirstAndFlag(0, 1);  // a wrong flag

    // The chord opens (1, 0), then the unflagged bomb (1, 1).
    PressBoth(0, 0);
    Mouse(WM_LBUTTONUP, MK_RBUTTON, 0, 0);
    Opened(expected, 1, 0);
    expected = LostPicture(expected, 1, 1);
    EXPECT_EQ(expected.Square(0, 1), 13);
    EXPECT_TRUE(Shows(*game_, expected)) << "chord on (0, 0)";
    Mouse(WM_RBUTTONUP, 0, 0, 0);
    EXPECT_TRUE(StillShows(*game_, expected)) << "right release after the loss";
}

// The picture of a win: every square shows what lies under it, flags ringed.
Screen WonPicture() { return ScreenOf(worked::wonPicture, Rows, 0); }

TEST_F(MousePlay, FlaggingEveryBombWinsThenANewGameStarts)
{
    Screen expected = OpenFirst();
    for (int i = 0; i < worked::BombCount - 1; ++i) {
        RightPress(worked::bombs[i].first, worked::bombs[i].second);
        expected.Set(worked::bombs[i].first, worked::bombs[i].second, 1);
    }
    expected.Counter(1);
    EXPECT_TRUE(Shows(*game_, expected)) << "nine flags";

    RightPress(worked::bombs[worked::BombCount - 1].first, worked::bombs[worked::BombCount - 1].second);
    const Screen won = WonPicture();
    EXPECT_TRUE(Shows(*game_, won)) << "the tenth flag";

    ExpectOverThenNewGame(won);
}

TEST_F(MousePlay, WinWaitsUntilTheFlagsLieExactlyOnTheBombs)
{
    Screen expected = OpenFirst();
    for (int i = 0; i < worked::BombCount - 1; ++i) {
        RightPress(worked::bombs[i].first, worked::bombs[i].second);
        expected.Set(worked::bombs[i].first, worked::bombs[i].second, 1);
    }
    RightPress(9, 0);
    expected.Set(9, 0, 1).Counter(0);
    EXPECT_TRUE(Shows(*game_, expected)) << "nine right flags and a wrong one";

    RightPress(worked::bombs[worked::BombCount - 1].first, worked::bombs[worked::BombCount - 1].second);
    expected.Set(worked::bombs[worked::BombCount - 1].first, worked::bombs[worked::BombCount - 1].second, 1).Counter(-1);
    EXPECT_TRUE(Shows(*game_, expected)) << "ten right flags and a wrong one";

    RightPress(9, 0);
    EXPECT_TRUE(Shows(*game_, WonPicture())) << "wrong flag removed";
}

}  // namespace
