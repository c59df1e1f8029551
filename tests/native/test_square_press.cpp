// Presses of one square from a touch or a key: the pressed look that each
// shows (the mouse's own: never on a flag, a number or the counter strip),
// what each release plays, and that a cancelled press leaves the game as it
// was and the mouse working. Played on the worked game.
#include <gtest/gtest.h>

#include <string>

#include "core/board.h"
#include "core/geometry.h"
#include "core/rules.h"
#include "input/mouse.h"
#include "input/square_press.h"
#include "tests/native/draw_recorder.h"
#include "tests/support/worked_game.h"

namespace {

unsigned Px(int column) { return static_cast<unsigned>(SquareLeft(column) + SquareSize / 2); }
unsigned Py(int row) { return static_cast<unsigned>(SquareTop(row) + SquareSize / 2); }

// The worked game after its first open at (0, 0), with a flag on (1, 1),
// the bomb beside it: the counter reads 9.
void StartWithFlag()
{
    ResetProgramState(worked::Columns, worked::Rows, worked::BombCount);
    NewGame();
    ClickSquare(Px(0), Py(0));
    FlagSquare(Px(1), Py(1));
    ASSERT_EQ(ScreenPicture(), worked::FirstOpenPictureWith({{1, 1, 'F'}}));
    ASSERT_EQ(mineCounter, 9);
    drawLog.clear();
}

}  // namespace

TEST(SquarePress, ShowsTheMousePressedLookOnlyOnCoveredUnflaggedSquares)
{
    const struct {
        const char* what;
        unsigned x, y;
        unsigned buttons;
        std::string picture;
    } cases[] = {
        {"a covered square", Px(6), Py(2), MouseLeft, worked::FirstOpenPictureWith({{1, 1, 'F'}, {6, 2, '_'}})},
        {"a flag", Px(1), Py(1), MouseLeft, worked::FirstOpenPictureWith({{1, 1, 'F'}})},
        // The chord look: the covered ring, not the flag in it.
        {"an opened number", Px(0), Py(0), MouseLeft | MouseRight,
         worked::FirstOpenPictureWith({{1, 1, 'F'}, {1, 0, '_'}, {0, 1, '_'}})},
        {"the counter strip", Px(2), 3, MouseLeft, worked::FirstOpenPictureWith({{1, 1, 'F'}})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_NO_FATAL_FAILURE(StartWithFlag());
        EXPECT_EQ(PressSquare(c.x, c.y), c.buttons);
        EXPECT_EQ(ScreenPicture(), c.picture);
        EXPECT_EQ(shownCounter, 9) << "a press never draws the counter";
        EXPECT_EQ(OpenedSquares(), 1);
        CancelPress();
    }
}

TEST(SquarePress, ReleasesPlayTheClickOrTheFlag)
{
    ASSERT_NO_FATAL_FAILURE(StartWithFlag());
    // A click on a covered square opens it, with nothing pressed left.
    PressSquare(Px(6), Py(2));
    ReleaseAsClick();
    EXPECT_EQ(ScreenPicture(), worked::FirstOpenPictureWith({{1, 1, 'F'}, {6, 2, '2'}}));

    // A flag on a covered square: the mark changes, the pressed look goes.
    PressSquare(Px(7), Py(1));
    ReleaseAsFlag();
    EXPECT_EQ(Board[7][1].mark, 1);
    EXPECT_EQ(mineCounter, 8);
    EXPECT_EQ(ScreenPicture(), worked::FirstOpenPictureWith({{1, 1, 'F'}, {6, 2, '2'}, {7, 1, 'F'}}));

    // A click on the opened 1 beside its flag is the chord: (1, 0) and (0, 1) open.
    PressSquare(Px(0), Py(0));
    ReleaseAsClick();
    EXPECT_EQ(ScreenPicture(),
              worked::FirstOpenPictureWith({{1, 1, 'F'}, {6, 2, '2'}, {7, 1, 'F'}, {1, 0, '1'}, {0, 1, '2'}}));

    // A flag released on an opened square changes nothing and restores the ring.
    const std::string before = ScreenPicture();
    PressSquare(Px(0), Py(1));
    ReleaseAsFlag();
    EXPECT_EQ(ScreenPicture(), before);
    EXPECT_EQ(mineCounter, 8);
}

TEST(SquarePress, BeforeTheFirstOpenAFlagReleaseMarksNothingAndLeavesNothingPressed)
{
    ResetProgramState(worked::Columns, worked::Rows, worked::BombCount);
    NewGame();
    PressSquare(Px(3), Py(3));
    ReleaseAsFlag();
    EXPECT_EQ(Board[3][3].mark, 0);
    EXPECT_EQ(firstClickPending, 1);
    EXPECT_EQ(ScreenPicture(), worked::FirstOpenPictureWith({{0, 0, '#'}}));
}

TEST(SquarePress, ACancelledPressPlaysNothingAndTheMouseWorksAfterIt)
{
    for (const bool chordPress : {false, true}) {
        SCOPED_TRACE(chordPress ? "a chord press on (0, 0)" : "a press on (6, 2)");
        ASSERT_NO_FATAL_FAILURE(StartWithFlag());
        const std::string before = ScreenPicture();
        const ProgramSnapshot snapshot = TakeSnapshot();
        PressSquare(chordPress ? Px(0) : Px(6), chordPress ? Py(0) : Py(2));
        CancelPress();
        EXPECT_EQ(ScreenPicture(), before);
        ProgramSnapshot after = TakeSnapshot();
        after.hoverColumn = snapshot.hoverColumn;
        after.hoverRow = snapshot.hoverRow;
        after.chordLatch = snapshot.chordLatch;
        EXPECT_EQ(SnapshotDifference(snapshot, after), "");
        // Nothing of the press is left to swallow the next click.
        ReleaseAsClick();
        EXPECT_EQ(ScreenPicture(), before);
        LeftButtonDown(MouseLeft, Px(6), Py(3));
        LeftButtonUp(0, Px(6), Py(3));
        EXPECT_EQ(Board[6][3].opened, 1);
    }
}

TEST(SquarePress, TheWorkedGamePlayedByClicksAndFlagsIsWon)
{
    ResetProgramState(worked::Columns, worked::Rows, worked::BombCount);
    NewGame();
    ClickSquare(Px(0), Py(0));
    for (const worked::Square& bomb : worked::bombs)
        FlagSquare(Px(bomb.first), Py(bomb.second));
    EXPECT_EQ(gameActive, 0);
    EXPECT_EQ(ScreenPicture(), Picture(worked::wonPicture, worked::Rows));
    // Once the game is over a press does nothing at all.
    drawLog.clear();
    EXPECT_EQ(PressSquare(Px(9), Py(0)), 0u);
    ReleaseAsClick();
    EXPECT_TRUE(drawLog.empty());
}
