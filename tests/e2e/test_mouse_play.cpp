// Whole games played on the real tsweeper.exe with mouse messages sent to its
// window: after each step the full screen (every square and the counter) must
// show exactly the expected tiles.
//
// A fresh process always deals the same first game: on the default 10 x 5
// board with 10 bombs, a first open at (0, 0) lays the bombs out as Bombs below.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/e2e/driver.h"

namespace {

constexpr int Columns = 10;
constexpr int Rows = 5;
constexpr int BombTotal = 10;

struct Square {
    int column;
    int row;
};

const Square Bombs[BombTotal] = {{1, 2}, {4, 0}, {9, 4}, {8, 3}, {2, 4},
                                 {5, 0}, {1, 1}, {5, 2}, {7, 1}, {1, 4}};

bool IsBomb(int column, int row)
{
    for (const Square& bomb : Bombs)
        if (bomb.column == column && bomb.row == row)
            return true;
    return false;
}

// The tile of an opened safe square: 3 + its neighbouring bombs.
int NumberTile(int column, int row)
{
    int count = 0;
    for (int dc = -1; dc <= 1; ++dc)
        for (int dr = -1; dr <= 1; ++dr)
            if ((dc != 0 || dr != 0) && IsBomb(column + dc, row + dr))
                ++count;
    return 3 + count;
}

// The picture expected on the 10 x 5 board, built step by step.
class Expected {
public:
    Expected() : screen_(UniformScreen(Columns, Rows, 0, BombTotal)) {}
    Expected& Set(int column, int row, int tile)
    {
        screen_.squares[static_cast<size_t>(column) * Rows + row] = tile;
        return *this;
    }
    Expected& Opened(int column, int row) { return Set(column, row, NumberTile(column, row)); }
    Expected& Counter(int value)
    {
        CounterTilesFor(value, screen_.counter);
        return *this;
    }
    int Tile(int column, int row) const { return screen_.Square(column, row); }
    const Screen& screen() const { return screen_; }

private:
    Screen screen_;
};

class MousePlay : public ::testing::Test {
protected:
    void SetUp() override
    {
        ParkPointer();
        folder_ = std::make_unique<GameFolder>("mouse-play");
        game_ = std::make_unique<GameRun>(*folder_);
        ASSERT_TRUE(game_->started());
        ASSERT_EQ(game_->Columns(), Columns);
        ASSERT_EQ(game_->Rows(), Rows);
        Shows(Expected(), "fresh board");
    }

    // Waits for the screen to show `expected`; a mismatch prints both.
    void Shows(const Expected& expected, const std::string& step) const
    {
        const Screen shown = game_->WaitForScreen(expected.screen());
        EXPECT_EQ(Describe(shown), Describe(expected.screen())) << "after: " << step;
    }

    // For steps that must change nothing: lets any pending repaint reach the
    // screen first, then compares.
    void StillShows(const Expected& expected, const std::string& step) const
    {
        RedrawWindow(game_->window(), nullptr, nullptr, RDW_UPDATENOW);
        Sleep(300);
        EXPECT_EQ(Describe(game_->CurrentScreen()), Describe(expected.screen()))
            << "after: " << step;
    }

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
    Expected OpenFirst() const
    {
        Click(0, 0);
        Expected expected;
        expected.Opened(0, 0);
        Shows(expected, "first open at (0, 0)");
        return expected;
    }

    std::unique_ptr<GameFolder> folder_;
    std::unique_ptr<GameRun> game_;
};

TEST_F(MousePlay, FirstOpenShowsItsNumberThenAnEmptySquareFloods)
{
    Expected expected = OpenFirst();
    EXPECT_EQ(expected.Tile(0, 0), 4);

    Click(9, 0);
    expected.Set(9, 0, 3).Set(8, 0, 4).Set(8, 1, 4).Set(9, 1, 3).Set(8, 2, 5).Set(9, 2, 4);
    Shows(expected, "open (9, 0)");
}

TEST_F(MousePlay, LeftPressShowsThePressedSquareWhichFollowsTheDrag)
{
    Expected expected = OpenFirst();

    Mouse(WM_MOUSEMOVE, 0, 3, 3);
    Mouse(WM_LBUTTONDOWN, MK_LBUTTON, 3, 3);
    Expected pressed = expected;
    pressed.Set(3, 3, 3);
    Shows(pressed, "left press on (3, 3)");

    Mouse(WM_MOUSEMOVE, MK_LBUTTON, 2, 3);
    pressed = expected;
    pressed.Set(2, 3, 3);
    Shows(pressed, "drag to (2, 3)");

    // The release opens the square under the pointer, not the one pressed.
    Mouse(WM_LBUTTONUP, 0, 2, 3);
    expected.Opened(2, 3);
    EXPECT_EQ(expected.Tile(2, 3), 6);
    Shows(expected, "release on (2, 3)");

    // Dragged off the board onto the counter strip: nothing stays pressed
    // and the release there opens nothing.
    Mouse(WM_MOUSEMOVE, 0, 6, 3);
    Mouse(WM_LBUTTONDOWN, MK_LBUTTON, 6, 3);
    pressed = expected;
    pressed.Set(6, 3, 3);
    Shows(pressed, "left press on (6, 3)");
    game_->Send(WM_MOUSEMOVE, MK_LBUTTON, SquareX(6), 8);
    Shows(expected, "drag onto the counter");
    game_->Send(WM_LBUTTONUP, 0, SquareX(6), 8);
    StillShows(expected, "release over the counter");

    // An opened square never shows pressed, and clicking it changes nothing.
    Mouse(WM_MOUSEMOVE, 0, 0, 0);
    Mouse(WM_LBUTTONDOWN, MK_LBUTTON, 0, 0);
    StillShows(expected, "left press on the opened (0, 0)");
    Mouse(WM_LBUTTONUP, 0, 0, 0);
    StillShows(expected, "release on the opened (0, 0)");
}

TEST_F(MousePlay, RightPressTogglesAFlagAndTheCounter)
{
    // No flag before the first open.
    RightPress(3, 3);
    StillShows(Expected(), "right press before the first open");

    Expected expected = OpenFirst();

    Mouse(WM_MOUSEMOVE, 0, 3, 3);
    Mouse(WM_RBUTTONDOWN, MK_RBUTTON, 3, 3);
    expected.Set(3, 3, 1).Counter(9);
    Shows(expected, "right press on (3, 3)");
    Mouse(WM_RBUTTONUP, 0, 3, 3);
    StillShows(expected, "right release on (3, 3)");

    // A flagged square neither shows pressed nor opens.
    Mouse(WM_LBUTTONDOWN, MK_LBUTTON, 3, 3);
    StillShows(expected, "left press on the flag");
    Mouse(WM_LBUTTONUP, 0, 3, 3);
    StillShows(expected, "left release on the flag");

    RightPress(3, 3);
    expected.Set(3, 3, 0).Counter(10);
    Shows(expected, "second right press on (3, 3)");

    RightPress(0, 0);
    StillShows(expected, "right press on the opened (0, 0)");
}

TEST_F(MousePlay, ChordOnASatisfiedNumberOpensItsNeighbours)
{
    Expected expected = OpenFirst();
    RightPress(1, 1);
    expected.Set(1, 1, 1).Counter(9);
    Shows(expected, "flag on the bomb (1, 1)");

    // Left release first: the chord opens (1, 0) and (0, 1).
    PressBoth(0, 0);
    Expected pressed = expected;
    pressed.Set(1, 0, 3).Set(0, 1, 3);
    Shows(pressed, "both buttons on (0, 0)");
    Mouse(WM_LBUTTONUP, MK_RBUTTON, 0, 0);
    expected.Opened(1, 0).Opened(0, 1);
    EXPECT_EQ(expected.Tile(1, 0), 4);
    EXPECT_EQ(expected.Tile(0, 1), 5);
    Shows(expected, "left release of the chord on (0, 0)");
    Mouse(WM_RBUTTONUP, 0, 0, 0);
    StillShows(expected, "right release after the chord");

    // Right release first: the chord on (1, 0) opens (2, 0) and (2, 1), and
    // the left release after it opens nothing more.
    PressBoth(1, 0);
    pressed = expected;
    pressed.Set(2, 0, 3).Set(2, 1, 3);
    Shows(pressed, "both buttons on (1, 0)");
    Mouse(WM_RBUTTONUP, MK_LBUTTON, 1, 0);
    expected.Opened(2, 0).Opened(2, 1);
    Shows(expected, "right release of the chord on (1, 0)");
    Mouse(WM_LBUTTONUP, 0, 1, 0);
    StillShows(expected, "left release after the chord");
}

TEST_F(MousePlay, RefusedChordShowsThenRestoresTheNeighbours)
{
    Expected expected = OpenFirst();

    // (0, 0) has one bomb around it and no flag: nothing opens.
    PressBoth(0, 0);
    Expected pressed = expected;
    pressed.Set(1, 0, 3).Set(0, 1, 3).Set(1, 1, 3);
    Shows(pressed, "both buttons on (0, 0)");
    Mouse(WM_LBUTTONUP, MK_RBUTTON, 0, 0);
    Shows(expected, "left release on (0, 0)");
    Mouse(WM_RBUTTONUP, 0, 0, 0);
    StillShows(expected, "right release on (0, 0)");

    // Over a covered square: the whole block shows pressed; the left release
    // restores the ring only and opens nothing, the right release the rest.
    PressBoth(3, 3);
    pressed = expected;
    for (int column = 2; column <= 4; ++column)
        for (int row = 2; row <= 4; ++row)
            pressed.Set(column, row, 3);
    Shows(pressed, "both buttons on the covered (3, 3)");
    Mouse(WM_LBUTTONUP, MK_RBUTTON, 3, 3);
    pressed = expected;
    pressed.Set(3, 3, 3);
    Shows(pressed, "left release on (3, 3)");
    Mouse(WM_RBUTTONUP, 0, 3, 3);
    Shows(expected, "right release on (3, 3)");

    // Right button let go first over a covered square: the block is restored,
    // and the left release that follows is an ordinary open.
    PressBoth(3, 3);
    Mouse(WM_RBUTTONUP, MK_LBUTTON, 3, 3);
    Shows(expected, "right release first on (3, 3)");
    Mouse(WM_LBUTTONUP, 0, 3, 3);
    expected.Opened(3, 3);
    EXPECT_EQ(expected.Tile(3, 3), 4);
    Shows(expected, "left release after it on (3, 3)");
}

// The end-of-game picture of a loss: every bomb shown, flags judged, the
// opened bomb exploded, every other square as it was.
Expected LostPicture(Expected before, int lostColumn, int lostRow)
{
    for (int column = 0; column < Columns; ++column)
        for (int row = 0; row < Rows; ++row) {
            const bool flagged = before.Tile(column, row) == 1;
            if (IsBomb(column, row))
                before.Set(column, row, flagged ? 12 : 14);
            else if (flagged)
                before.Set(column, row, 13);
        }
    return before.Set(lostColumn, lostRow, 15);
}

TEST_F(MousePlay, OpeningABombLosesAndTheBoardThenIgnoresTheMouse)
{
    Expected expected = OpenFirst();
    RightPress(4, 0);
    RightPress(3, 3);
    expected.Set(4, 0, 1).Set(3, 3, 1).Counter(8);
    Shows(expected, "a right and a wrong flag");

    Click(5, 2);
    expected = LostPicture(expected, 5, 2);
    EXPECT_EQ(expected.Tile(4, 0), 12);
    EXPECT_EQ(expected.Tile(3, 3), 13);
    EXPECT_EQ(expected.Tile(9, 4), 14);
    Shows(expected, "open the bomb (5, 2)");

    // Over: presses, releases and moves change nothing.
    Mouse(WM_MOUSEMOVE, 0, 6, 4);
    Mouse(WM_LBUTTONDOWN, MK_LBUTTON, 6, 4);
    StillShows(expected, "left press after the loss");
    Mouse(WM_MOUSEMOVE, MK_LBUTTON, 6, 3);
    Mouse(WM_LBUTTONUP, 0, 6, 3);
    RightPress(6, 4);
    RightPress(4, 0);
    PressBoth(0, 0);
    Mouse(WM_LBUTTONUP, MK_RBUTTON, 0, 0);
    StillShows(expected, "clicks, flags and a chord after the loss");

    game_->MenuCommand(1000);
    Shows(Expected(), "new game");
    Click(0, 0);
    Shows(Expected().Set(0, 0, 4), "first open of the second game");
}

TEST_F(MousePlay, ChordOverAWrongFlagLoses)
{
    Expected expected = OpenFirst();
    RightPress(0, 1);
    expected.Set(0, 1, 1).Counter(9);
    Shows(expected, "wrong flag on (0, 1)");

    // The chord opens (1, 0), then the unflagged bomb (1, 1).
    PressBoth(0, 0);
    Mouse(WM_LBUTTONUP, MK_RBUTTON, 0, 0);
    expected.Opened(1, 0);
    expected = LostPicture(expected, 1, 1);
    EXPECT_EQ(expected.Tile(0, 1), 13);
    Shows(expected, "chord on (0, 0)");
    Mouse(WM_RBUTTONUP, 0, 0, 0);
    StillShows(expected, "right release after the loss");
}

// The picture of a win: every square shows what lies under it, flags ringed.
Expected WonPicture()
{
    Expected won;
    for (int column = 0; column < Columns; ++column)
        for (int row = 0; row < Rows; ++row)
            won.Set(column, row, IsBomb(column, row) ? 12 : NumberTile(column, row));
    return won.Counter(0);
}

TEST_F(MousePlay, FlaggingEveryBombWinsThenANewGameStarts)
{
    Expected expected = OpenFirst();
    for (int i = 0; i < BombTotal - 1; ++i) {
        RightPress(Bombs[i].column, Bombs[i].row);
        expected.Set(Bombs[i].column, Bombs[i].row, 1);
    }
    expected.Counter(1);
    Shows(expected, "nine flags");

    RightPress(Bombs[BombTotal - 1].column, Bombs[BombTotal - 1].row);
    const Expected won = WonPicture();
    Shows(won, "the tenth flag");

    // Over: neither a flag nor an open changes the picture.
    RightPress(1, 1);
    Click(3, 3);
    PressBoth(0, 0);
    Mouse(WM_RBUTTONUP, MK_LBUTTON, 0, 0);
    StillShows(won, "mouse after the win");

    game_->MenuCommand(1000);
    Shows(Expected(), "new game");
}

TEST_F(MousePlay, WinWaitsUntilTheFlagsLieExactlyOnTheBombs)
{
    Expected expected = OpenFirst();
    for (int i = 0; i < BombTotal - 1; ++i) {
        RightPress(Bombs[i].column, Bombs[i].row);
        expected.Set(Bombs[i].column, Bombs[i].row, 1);
    }
    RightPress(9, 0);
    expected.Set(9, 0, 1).Counter(0);
    Shows(expected, "nine right flags and a wrong one");

    RightPress(Bombs[BombTotal - 1].column, Bombs[BombTotal - 1].row);
    expected.Set(Bombs[BombTotal - 1].column, Bombs[BombTotal - 1].row, 1).Counter(-1);
    Shows(expected, "ten right flags and a wrong one");

    RightPress(9, 0);
    Shows(WonPicture(), "wrong flag removed");
}

}  // namespace
