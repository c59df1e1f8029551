// The mouse cases on concrete boards: which rule each message calls, the
// pressed-square preview, the two-button chord, and what the player sees on
// the screen after every message.
//
// Most scenarios play the worked game (tests/support/worked_game.h).
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/board.h"
#include "core/geometry.h"
#include "core/rules.h"
#include "input/mouse.h"
#include "tests/native/draw_recorder.h"
#include "input/mouse_cases.h"
#include "tests/support/worked_game.h"

namespace {

constexpr unsigned L = MouseLeft;
constexpr unsigned R = MouseRight;

// Client pixel at the centre of square (column, row); row -1 is the counter
// strip above the board.
unsigned Px(int column) { return static_cast<unsigned>(SquareLeft(column) + SquareSize / 2); }
unsigned Py(int row) { return static_cast<unsigned>(SquareTop(row) + SquareSize / 2); }

// The screen of a new game, and right after the first open of the worked game.
const std::string coveredPicture = worked::FirstOpenPictureWith({{0, 0, '#'}});
const std::string firstOpenPicture = worked::FirstOpenPictureWith();

// A fresh run, NewGame, and a left click on (0, 0), the first open. The log
// is emptied afterwards.
void StartWorkedGame()
{
    ResetProgramState(10, 5, 10);
    NewGame();
    LeftButtonDown(L, Px(0), Py(0));
    LeftButtonUp(0, Px(0), Py(0));
    ASSERT_EQ(Board[0][0].opened, 1);
    ASSERT_EQ(Board[1][1].mine, 1);
    ASSERT_EQ(Board[7][1].mine, 1);
    ASSERT_EQ(ScreenPicture(), firstOpenPicture);
    drawLog.clear();
}

// A right click: the press flags, the release only restores.
void RightClick(int column, int row)
{
    RightButtonDown(R, Px(column), Py(row));
    RightButtonUp(0, Px(column), Py(row));
}


}  // namespace

TEST(SquareAtPoint, PixelsToSquares)
{
    const struct {
        unsigned x, y;
        int column, row;
    } cases[] = {
        {37, 50, 2, 2},
        {15, 15, 0, -1},  // the counter strip is row -1
        {16, 16, 1, 0},
        {0, 0, 0, -1},
        {15, 31, 0, 0},
        {16, 32, 1, 1},
        {159, 95, 9, 4},  // the last pixel of a 10 x 5 board
        {160, 96, 10, 5},  // beyond it
        {575, 399, 35, 23},
        {65535, 65535, 4095, 4094},
    };
    for (const auto& c : cases) {
        int column = -99, row = -99;
        SquareAtPoint(c.x, c.y, &column, &row);
        EXPECT_EQ(column, c.column) << "pixel (" << c.x << "," << c.y << ")";
        EXPECT_EQ(row, c.row) << "pixel (" << c.x << "," << c.y << ")";
    }
}

// ---------------------------------------------------------------------------
// Which rule each message calls, and the latch it leaves.

namespace {

using Message = MouseCase;
enum class RuleCall { None, Open, Mark, Chord };

// Sends the message over one of two squares of the worked game, with a flag
// on (1,1): the covered (6,0), which OpenCell would open and CycleMark flag,
// and the opened (0,0), whose chord would open (1,0) and (0,1). Tells which
// rule was called by what changed.
RuleCall Observe(Message message, unsigned buttons, int latchBefore, bool overOpenedSquare)
{
    StartWorkedGame();
    if (::testing::Test::HasFatalFailure())
        return RuleCall::None;
    RightClick(1, 1);
    // The pointer comes from elsewhere, so that a move reaches a new square.
    hoverColumn = 5;
    hoverRow = 3;
    chordLatch = latchBefore;
    const int column = overOpenedSquare ? 0 : 6;
    const int row = 0;
    const ProgramSnapshot before = TakeSnapshot();
    PlayMouseCase(message, buttons, Px(column) + 3, Py(row) - 5);
    EXPECT_EQ(hoverColumn, column);
    EXPECT_EQ(hoverRow, row);

    ProgramSnapshot after = TakeSnapshot();
    after.hoverColumn = before.hoverColumn;
    after.hoverRow = before.hoverRow;
    after.chordLatch = before.chordLatch;
    const std::string changes = SnapshotDifference(before, after);
    if (changes.empty())
        return RuleCall::None;
    if (!overOpenedSquare && Board[6][0].opened && OpenedSquares() == 2)
        return RuleCall::Open;
    if (!overOpenedSquare && Board[6][0].mark && mineCounter == 8)
        return RuleCall::Mark;
    if (overOpenedSquare && Board[1][0].opened && Board[0][1].opened && OpenedSquares() == 3)
        return RuleCall::Chord;
    ADD_FAILURE() << "unexpected change: " << changes;
    return RuleCall::None;
}

}  // namespace

TEST(MouseMessages, RuleCalledAndLatchLeftByEachMessage)
{
    constexpr int Unchanged = -1;
    const struct {
        Message message;
        unsigned otherButton;  // the other button's bit, when it is held
        bool otherHeld;
        int latchBefore;
        RuleCall call;
        int latchAfter;
    } cases[] = {
        {MouseCaseLeftDown, R, false, 1, RuleCall::None, 0},
        {MouseCaseLeftDown, R, true, 0, RuleCall::None, 1},
        {MouseCaseRightDown, L, false, 1, RuleCall::Mark, 0},
        {MouseCaseRightDown, L, true, 0, RuleCall::None, 1},
        {MouseCaseLeftUp, R, true, 0, RuleCall::Chord, Unchanged},
        {MouseCaseLeftUp, R, true, 1, RuleCall::Chord, Unchanged},
        {MouseCaseLeftUp, R, false, 1, RuleCall::None, 0},
        {MouseCaseLeftUp, R, false, 0, RuleCall::Open, 0},
        {MouseCaseRightUp, L, true, 1, RuleCall::Chord, 0},
        {MouseCaseRightUp, L, true, 0, RuleCall::Chord, 0},
        {MouseCaseRightUp, L, false, 1, RuleCall::None, 0},
        {MouseCaseMove, 0, false, 0, RuleCall::None, Unchanged},
        {MouseCaseMove, 0, false, 1, RuleCall::None, Unchanged},
    };
    // The message's own button bit and bits of other keys are not looked at.
    const unsigned ownAndOtherBits[] = {0, L | R, 0x4 | 0x8 | 0x10 | 0x20 | 0x40};
    for (const auto& c : cases) {
        for (unsigned extra : ownAndOtherBits) {
            unsigned buttons = c.otherHeld ? c.otherButton : 0;
            if (c.message != MouseCaseMove)
                buttons |= extra & ~c.otherButton;
            for (bool overOpened : {false, true}) {
                SCOPED_TRACE(::testing::Message()
                             << mouseCaseNames[c.message] << " with buttons " << buttons << ", latch "
                             << c.latchBefore << ", over " << (overOpened ? "(0,0)" : "(6,0)"));
                // The calls the player can see: an open of the covered square,
                // a flag on it, the chord around the opened one.
                RuleCall expected = RuleCall::None;
                if (c.call == RuleCall::Open || c.call == RuleCall::Mark)
                    expected = overOpened ? RuleCall::None : c.call;
                if (c.call == RuleCall::Chord)
                    expected = overOpened ? RuleCall::Chord : RuleCall::None;
                EXPECT_EQ(Observe(c.message, buttons, c.latchBefore, overOpened), expected);
                EXPECT_EQ(chordLatch, c.latchAfter == Unchanged ? c.latchBefore : c.latchAfter);
            }
        }
    }
    // Moves with any buttons call no rule.
    for (unsigned buttons : {0u, L, R, L | R}) {
        for (bool overOpened : {false, true}) {
            EXPECT_EQ(Observe(MouseCaseMove, buttons, 1, overOpened), RuleCall::None);
            EXPECT_EQ(chordLatch, 1);
        }
    }
}

// ---------------------------------------------------------------------------
// Single clicks and the preview

TEST(LeftClick, PressShowsTheSquarePressedAndTheReleaseOpensIt)
{
    ASSERT_NO_FATAL_FAILURE(StartWorkedGame());
    LeftButtonDown(L, Px(6), Py(0));
    EXPECT_EQ(drawLog, (std::vector<DrawCall>{{6, 0, 3}}));
    EXPECT_EQ(ScreenPicture(), worked::FirstOpenPictureWith({{6, 0, '_'}}));
    drawLog.clear();
    LeftButtonUp(0, Px(6), Py(0));
    // Only the open draws: the release adds nothing of its own.
    EXPECT_EQ(drawLog, (std::vector<DrawCall>{{6, 0, 5}}));
    EXPECT_EQ(ScreenPicture(), worked::FirstOpenPictureWith({{6, 0, '2'}}));
}

TEST(LeftClick, TheFirstClickLaysOutTheBombs)
{
    ResetProgramState(10, 5, 10);
    NewGame();
    LeftButtonDown(L, Px(1), Py(2));
    EXPECT_EQ(firstClickPending, 1);  // a press opens nothing
    LeftButtonUp(0, Px(1), Py(2));
    EXPECT_EQ(gameActive, 1);
    EXPECT_EQ(Board[2][3].mine, 1);
    EXPECT_EQ(Board[1][2].opened, 1);
    EXPECT_EQ(shownTile[1][2], 5);
}

TEST(LeftClick, OnAnOpenedOrFlaggedSquareDrawsNothingVisible)
{
    ASSERT_NO_FATAL_FAILURE(StartWorkedGame());
    RightClick(3, 3);
    const std::string before = ScreenPicture();
    for (int square : {0, 1}) {
        const int column = square == 0 ? 0 : 3;
        const int row = square == 0 ? 0 : 3;
        drawLog.clear();
        LeftButtonDown(L, Px(column), Py(row));
        EXPECT_TRUE(drawLog.empty());
        const ProgramSnapshot snapshot = TakeSnapshot();
        LeftButtonUp(0, Px(column), Py(row));
        // OpenCell refuses; the ring restore leaves every square as it was.
        EXPECT_EQ(SnapshotDifference(snapshot, TakeSnapshot()), "");
        EXPECT_EQ(ScreenPicture(), before);
        for (const DrawCall& call : drawLog)
            EXPECT_EQ(call.tile, 0) << call;
    }
}

TEST(RightClick, ThePressFlagsAndTheReleaseOnlyRestores)
{
    ASSERT_NO_FATAL_FAILURE(StartWorkedGame());
    RightButtonDown(R, Px(3), Py(3));
    EXPECT_EQ(Board[3][3].mark, 1);
    EXPECT_EQ(shownCounter, 9);
    const std::string flagged = worked::FirstOpenPictureWith({{3, 3, 'F'}});
    EXPECT_EQ(ScreenPicture(), flagged);
    RightButtonUp(0, Px(3), Py(3));
    EXPECT_EQ(Board[3][3].mark, 1);
    EXPECT_EQ(mineCounter, 9);
    EXPECT_EQ(ScreenPicture(), flagged);
    // A second right click takes the flag away.
    RightClick(3, 3);
    EXPECT_EQ(Board[3][3].mark, 0);
    EXPECT_EQ(shownCounter, 10);
    EXPECT_EQ(ScreenPicture(), firstOpenPicture);
}

TEST(RightClick, BeforeTheFirstOpenChangesNothingButTheLatch)
{
    ResetProgramState(10, 5, 10);
    NewGame();
    chordLatch = 1;
    drawLog.clear();
    const ProgramSnapshot before = TakeSnapshot();
    RightButtonDown(R, Px(3), Py(3));
    ProgramSnapshot after = TakeSnapshot();
    EXPECT_EQ(chordLatch, 0);
    EXPECT_TRUE(drawLog.empty());
    after.chordLatch = before.chordLatch;
    after.hoverColumn = before.hoverColumn;
    after.hoverRow = before.hoverRow;
    EXPECT_EQ(SnapshotDifference(before, after), "");
}

TEST(Drag, ThePressedSquareFollowsThePointerAndTheReleaseOpensTheLastOne)
{
    ASSERT_NO_FATAL_FAILURE(StartWorkedGame());
    LeftButtonDown(L, Px(6), Py(0));
    drawLog.clear();
    MouseMove(L, Px(6) + 7, Py(0) - 8);  // still inside (6,0)
    EXPECT_TRUE(drawLog.empty());

    MouseMove(L, Px(6), Py(1));
    EXPECT_EQ(ScreenPicture(), worked::FirstOpenPictureWith({{6, 1, '_'}}));
    MouseMove(L, Px(7), Py(2));
    EXPECT_EQ(ScreenPicture(), worked::FirstOpenPictureWith({{7, 2, '_'}}));
    // Across the opened (0,0) and off the board: nothing drawn there.
    MouseMove(L, Px(0), Py(0));
    EXPECT_EQ(ScreenPicture(), firstOpenPicture);
    MouseMove(L, Px(12), Py(2));
    EXPECT_EQ(ScreenPicture(), firstOpenPicture);
    MouseMove(L, Px(7), Py(2));
    LeftButtonUp(0, Px(7), Py(2));
    EXPECT_EQ(Board[7][2].opened, 1);
    EXPECT_EQ(Board[6][0].opened, 0);
    EXPECT_EQ(OpenedSquares(), 2);
    EXPECT_EQ(ScreenPicture(), worked::FirstOpenPictureWith({{7, 2, '2'}}));
    EXPECT_EQ(drawsOffBoard, 0);
}

TEST(Move, InsideOneSquareDrawsNothingWhateverTheButtons)
{
    for (unsigned buttons : {0u, L, R, L | R}) {
        ASSERT_NO_FATAL_FAILURE(StartWorkedGame());
        MouseMove(buttons, Px(3), Py(2));  // enters (3,2)
        drawLog.clear();
        const std::string picture = ScreenPicture();
        for (unsigned x = 48; x < 64; x += 5)
            for (unsigned y = 48; y < 64; y += 5)
                MouseMove(buttons, x, y);
        MouseMove(buttons, 63, 63);
        EXPECT_TRUE(drawLog.empty()) << "buttons " << buttons;
        EXPECT_EQ(ScreenPicture(), picture) << "buttons " << buttons;
    }
}

TEST(Move, WithBothButtonsPressesTheWholeBlockAndWithTheRightAloneNothing)
{
    ASSERT_NO_FATAL_FAILURE(StartWorkedGame());
    MouseMove(L | R, Px(1), Py(1));
    EXPECT_EQ(ScreenPicture(), Picture({
                                   "1__#######",
                                   "___#######",
                                   "___#######",
                                   "##########",
                                   "##########",
                               }));
    MouseMove(R, Px(5), Py(3));
    EXPECT_EQ(ScreenPicture(), firstOpenPicture);
}

// ---------------------------------------------------------------------------
// The counter strip above the board is row -1.

TEST(CounterStrip, AClickThereOpensNothingAndPlacesNoBomb)
{
    ResetProgramState(10, 5, 10);
    NewGame();
    const ProgramSnapshot before = TakeSnapshot();
    LeftButtonDown(L, Px(4), 8);
    LeftButtonUp(0, Px(4), 8);
    EXPECT_EQ(firstClickPending, 1);
    EXPECT_EQ(Board[4][0].opened, 0);
    ProgramSnapshot after = TakeSnapshot();
    EXPECT_EQ(after.hoverRow, -1);
    after.hoverColumn = before.hoverColumn;
    after.hoverRow = before.hoverRow;
    EXPECT_EQ(SnapshotDifference(before, after), "");  // no bomb, same generator
    EXPECT_EQ(ScreenPicture(), coveredPicture);
}

TEST(CounterStrip, ARightPressThereMarksNothing)
{
    ASSERT_NO_FATAL_FAILURE(StartWorkedGame());
    RightButtonDown(R, Px(4), 15);
    RightButtonUp(0, Px(4), 15);
    EXPECT_EQ(mineCounter, 10);
    EXPECT_EQ(Board[4][0].mark, 0);
    EXPECT_EQ(ScreenPicture(), firstOpenPicture);
}

TEST(CounterStrip, ATwoButtonPressPressesRowZeroAndItsReleaseRestores)
{
    struct StripCase {
        const char* name;
        int column;
        bool leftReleasedFirst;
        const char* pressedRowZero;
    };
    const StripCase cases[] = {
        {"column 4, right released first", 4, false, "1##___####"},
        {"column 4, left released first", 4, true, "1##___####"},
        // At the board's edge only the squares on the board, and not the
        // opened (0,0).
        {"column 0", 0, false, "1_########"},
        {"column 9", 9, true, "1#######__"},
    };
    for (const StripCase& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(StartWorkedGame());
        LeftButtonDown(L, Px(c.column), 3);
        EXPECT_TRUE(drawLog.empty());
        RightButtonDown(L | R, Px(c.column), 3);
        EXPECT_EQ(ScreenPicture(), Picture({c.pressedRowZero, "##########", "##########",
                                            "##########", "##########"}));
        EXPECT_EQ(chordLatch, 1);
        if (c.leftReleasedFirst) {
            LeftButtonUp(R, Px(c.column), 3);
            RightButtonUp(0, Px(c.column), 3);
        } else {
            RightButtonUp(L, Px(c.column), 3);
            LeftButtonUp(0, Px(c.column), 3);
        }
        EXPECT_EQ(ScreenPicture(), firstOpenPicture);
        EXPECT_EQ(OpenedSquares(), 1);
        EXPECT_EQ(chordLatch, 0);
        EXPECT_EQ(drawsOffBoard, 0);
    }
}

TEST(CounterStrip, FlagsInRowZeroStayFlaggedUnderATwoButtonPress)
{
    ASSERT_NO_FATAL_FAILURE(StartWorkedGame());
    RightClick(3, 0);
    LeftButtonDown(L, Px(4), 3);
    RightButtonDown(L | R, Px(4), 3);
    EXPECT_EQ(ScreenPicture(), worked::FirstOpenPictureWith({{3, 0, 'F'}, {4, 0, '_'}, {5, 0, '_'}}));
}

// ---------------------------------------------------------------------------
// Two-button presses

namespace {

// One message of a scenario and the screen the player sees after it.
struct Step {
    std::function<void()> message;
    std::string picture;
    int latch;
};

void PlaySteps(const std::vector<Step>& steps)
{
    for (size_t i = 0; i < steps.size(); ++i) {
        SCOPED_TRACE(::testing::Message() << "message " << i + 1);
        steps[i].message();
        EXPECT_EQ(ScreenPicture(), steps[i].picture);
        EXPECT_EQ(chordLatch, steps[i].latch);
        EXPECT_EQ(drawsOffBoard, 0);
    }
}

// The worked game with its bomb (1,1) flagged: (0,0) shows 1 and has one
// flag around it, so a chord there opens (1,0) and (0,1).
void StartChordGame()
{
    ASSERT_NO_FATAL_FAILURE(StartWorkedGame());
    RightClick(1, 1);
}

const std::string flaggedPicture = worked::FirstOpenPictureWith({{1, 1, 'F'}});
const std::string chordPressedPicture = worked::FirstOpenPictureWith({{1, 0, '_'}, {0, 1, '_'}, {1, 1, 'F'}});
const std::string chordDonePicture = worked::FirstOpenPictureWith({{1, 0, '1'}, {0, 1, '2'}, {1, 1, 'F'}});

}  // namespace

TEST(Chord, LeftRightLeftRight)
{
    ASSERT_NO_FATAL_FAILURE(StartChordGame());
    const unsigned x = Px(0), y = Py(0);
    PlaySteps({
        {[&] { LeftButtonDown(L, x, y); }, flaggedPicture, 0},
        {[&] { RightButtonDown(L | R, x, y); }, chordPressedPicture, 1},
        {[&] { LeftButtonUp(R, x, y); }, chordDonePicture, 1},  // the chord
        {[&] { RightButtonUp(0, x, y); }, chordDonePicture, 0},
    });
    EXPECT_EQ(OpenedSquares(), 3);
}

TEST(Chord, LeftRightRightLeft)
{
    ASSERT_NO_FATAL_FAILURE(StartChordGame());
    const unsigned x = Px(0), y = Py(0);
    PlaySteps({
        {[&] { LeftButtonDown(L, x, y); }, flaggedPicture, 0},
        {[&] { RightButtonDown(L | R, x, y); }, chordPressedPicture, 1},
        {[&] { RightButtonUp(L, x, y); }, chordDonePicture, 0},  // the chord
        // OpenCell on the opened (0,0) refuses.
        {[&] { LeftButtonUp(0, x, y); }, chordDonePicture, 0},
    });
    EXPECT_EQ(OpenedSquares(), 3);
}

TEST(Chord, RightPressFirst)
{
    ASSERT_NO_FATAL_FAILURE(StartChordGame());
    const unsigned x = Px(0), y = Py(0);
    PlaySteps({
        // CycleMark on the opened square does nothing.
        {[&] { RightButtonDown(R, x, y); }, flaggedPicture, 0},
        {[&] { LeftButtonDown(L | R, x, y); }, chordPressedPicture, 1},
        {[&] { LeftButtonUp(R, x, y); }, chordDonePicture, 1},
        {[&] { RightButtonUp(0, x, y); }, chordDonePicture, 0},
    });
}

TEST(Chord, RightPressFirstBeforeTheFirstOpenLeavesTheCentreRaised)
{
    // The right press marks nothing yet; the left press that makes both
    // buttons held presses the eight neighbours but not the square itself.
    ResetProgramState(10, 5, 10);
    NewGame();
    const unsigned x = Px(3), y = Py(2);
    const std::string& raised = coveredPicture;
    PlaySteps({
        {[&] { RightButtonDown(R, x, y); }, raised, 0},
        {[&] { LeftButtonDown(L | R, x, y); },
         Picture({"##########", "##___#####", "##_#_#####", "##___#####", "##########"}), 1},
        {[&] { LeftButtonUp(R, x, y); }, raised, 1},
        {[&] { RightButtonUp(0, x, y); }, raised, 0},
    });
    EXPECT_EQ(firstClickPending, 1);
}

TEST(Chord, RightPressFirstOnACoveredSquareFlagsIt)
{
    ASSERT_NO_FATAL_FAILURE(StartWorkedGame());
    const unsigned x = Px(3), y = Py(2);
    PlaySteps({
        {[&] { RightButtonDown(R, x, y); },
         worked::FirstOpenPictureWith({{3, 2, 'F'}}), 0},
        {[&] { LeftButtonDown(L | R, x, y); },
         Picture({"1#########", "##___#####", "##_F_#####", "##___#####", "##########"}), 1},
        // No chord on a covered square; the ring is restored, the flag stays.
        {[&] { RightButtonUp(L, x, y); },
         worked::FirstOpenPictureWith({{3, 2, 'F'}}), 0},
        // OpenCell refuses the flagged square.
        {[&] { LeftButtonUp(0, x, y); },
         worked::FirstOpenPictureWith({{3, 2, 'F'}}), 0},
    });
    EXPECT_EQ(OpenedSquares(), 1);
}

TEST(Chord, RefusedWhenTheFlagsDoNotMatchAndThePressedSquaresComeBack)
{
    for (bool leftFirst : {true, false}) {
        SCOPED_TRACE(leftFirst ? "left released first" : "right released first");
        ASSERT_NO_FATAL_FAILURE(StartWorkedGame());  // no flag around (0,0)
        const unsigned x = Px(0), y = Py(0);
        const std::string pressed = worked::FirstOpenPictureWith({{1, 0, '_'}, {0, 1, '_'}, {1, 1, '_'}});
        std::vector<Step> steps = {
            {[&] { LeftButtonDown(L, x, y); }, firstOpenPicture, 0},
            {[&] { RightButtonDown(L | R, x, y); }, pressed, 1},
        };
        if (leftFirst) {
            steps.push_back({[&] { LeftButtonUp(R, x, y); }, firstOpenPicture, 1});
            steps.push_back({[&] { RightButtonUp(0, x, y); }, firstOpenPicture, 0});
        } else {
            steps.push_back({[&] { RightButtonUp(L, x, y); }, firstOpenPicture, 0});
            steps.push_back({[&] { LeftButtonUp(0, x, y); }, firstOpenPicture, 0});
        }
        PlaySteps(steps);
        EXPECT_EQ(OpenedSquares(), 1);
        EXPECT_EQ(gameActive, 1);
    }
}

TEST(Chord, BothButtonsOnACoveredSquareThenRightReleaseRestoresTheWholeBlock)
{
    ASSERT_NO_FATAL_FAILURE(StartWorkedGame());
    const std::string blockPressed =
        Picture({"1#########", "##___#####", "##___#####", "##___#####", "##########"});
    const std::string centrePressed =
        worked::FirstOpenPictureWith({{3, 2, '_'}});
    PlaySteps({
        {[] { LeftButtonDown(L, Px(3), Py(2)); }, centrePressed, 0},
        {[] { RightButtonDown(L | R, Px(3), Py(2)); }, blockPressed, 1},
        // No chord on a covered square; the centre too goes back to covered
        // although the left button is still held.
        {[] { RightButtonUp(L, Px(3), Py(2)); }, firstOpenPicture, 0},
        {[] { MouseMove(L, Px(3) + 4, Py(2) + 4); }, firstOpenPicture, 0},
        // Entering another square shows it pressed.
        {[] { MouseMove(L, Px(6), Py(3)); },
         worked::FirstOpenPictureWith({{6, 3, '_'}}), 0},
        // The left release opens the square under the pointer.
        {[] { LeftButtonUp(0, Px(6), Py(3)); },
         worked::FirstOpenPictureWith({{6, 3, '1'}}), 0},
    });
    EXPECT_EQ(Board[3][2].opened, 0);
    EXPECT_EQ(Board[6][3].opened, 1);
}

TEST(Chord, BothButtonsOnACoveredSquareThenLeftReleaseLeavesTheCentrePressed)
{
    ASSERT_NO_FATAL_FAILURE(StartWorkedGame());
    PlaySteps({
        {[] { LeftButtonDown(L, Px(3), Py(2)); },
         worked::FirstOpenPictureWith({{3, 2, '_'}}), 0},
        {[] { RightButtonDown(L | R, Px(3), Py(2)); },
         Picture({"1#########", "##___#####", "##___#####", "##___#####", "##########"}), 1},
        // No chord and no open: only the ring comes back.
        {[] { LeftButtonUp(R, Px(3), Py(2)); },
         worked::FirstOpenPictureWith({{3, 2, '_'}}), 1},
        {[] { RightButtonUp(0, Px(3), Py(2)); }, firstOpenPicture, 0},
    });
    EXPECT_EQ(OpenedSquares(), 1);
}

TEST(Chord, LeftReleaseAfterTheRightButtonWasLetGoOutsideIsSwallowed)
{
    ASSERT_NO_FATAL_FAILURE(StartWorkedGame());
    const std::string centrePressed =
        worked::FirstOpenPictureWith({{3, 2, '_'}});
    PlaySteps({
        {[] { LeftButtonDown(L, Px(3), Py(2)); }, centrePressed, 0},
        {[] { RightButtonDown(L | R, Px(3), Py(2)); },
         Picture({"1#########", "##___#####", "##___#####", "##___#####", "##########"}), 1},
        // The pointer leaves the window, the right button is let go out
        // there unseen, and the pointer comes back into the same square.
        {[] { MouseMove(L, Px(3) - 7, Py(2) + 7); },
         Picture({"1#########", "##___#####", "##___#####", "##___#####", "##########"}), 1},
        // Nothing opens; only the ring is restored, the centre stays pressed.
        {[] { LeftButtonUp(0, Px(3) - 7, Py(2) + 7); }, centrePressed, 0},
        // Until the pointer moves to another square.
        {[] { MouseMove(0, Px(4), Py(2)); }, firstOpenPicture, 0},
    });
    EXPECT_EQ(OpenedSquares(), 1);

    // The latch is spent: the next click opens as usual.
    LeftButtonDown(L, Px(3), Py(2));
    LeftButtonUp(0, Px(3), Py(2));
    EXPECT_EQ(Board[3][2].opened, 1);
}

TEST(Chord, ReleasedOutsideTheWindowThePressedSquaresStayUntilThePointerMoves)
{
    ASSERT_NO_FATAL_FAILURE(StartWorkedGame());
    LeftButtonDown(L, Px(3), Py(2));
    RightButtonDown(L | R, Px(3), Py(2));
    // Both buttons let go outside the window; back over the board with no
    // button held, the first move into another square restores the block.
    MouseMove(0, Px(3), Py(2));
    EXPECT_EQ(ScreenPicture(),
              Picture({"1#########", "##___#####", "##___#####", "##___#####", "##########"}));
    MouseMove(0, Px(8), Py(4));
    EXPECT_EQ(ScreenPicture(), firstOpenPicture);
}

// ---------------------------------------------------------------------------
// A chord that loses: two wrong flags around (2,2), which shows 2.

TEST(Chord, ThatLosesLeavesTheBombsShownAndRestoresTheOtherPressedSquares)
{
    for (bool leftFirst : {true, false}) {
        SCOPED_TRACE(leftFirst ? "left released first" : "right released first");
        ASSERT_NO_FATAL_FAILURE(StartWorkedGame());
        LeftButtonDown(L, Px(2), Py(2));
        LeftButtonUp(0, Px(2), Py(2));
        RightClick(2, 1);
        RightClick(3, 1);
        ASSERT_EQ(ScreenPicture(),
                  worked::FirstOpenPictureWith({{2, 1, 'F'}, {3, 1, 'F'}, {2, 2, '2'}}));

        LeftButtonDown(L, Px(2), Py(2));
        RightButtonDown(L | R, Px(2), Py(2));
        // The bombs (1,1) and (1,2) are pressed like any covered square.
        ASSERT_EQ(ScreenPicture(),
                  Picture({"1#########", "#_FF######", "#_2_######", "#___######", "##########"}));

        // The chord opens (1,1) first, a bomb: the game is lost.
        if (leftFirst)
            LeftButtonUp(R, Px(2), Py(2));
        else
            RightButtonUp(L, Px(2), Py(2));
        EXPECT_EQ(gameActive, 0);
        EXPECT_EQ(firstClickPending, 0);
        // The other bomb of the ring, (1,2), keeps its bomb picture; the
        // safe squares that were pressed show covered again.
        const std::string lost = Picture({
            "1###**####",
            "#@XX###*##",
            "#*2##*####",
            "########*#",
            "#**######*",
        });
        EXPECT_EQ(ScreenPicture(), lost);
        EXPECT_EQ(Board[3][2].opened, 0);
        EXPECT_EQ(Board[1][2].opened, 0);

        // The other release comes after the end and is dropped.
        const ProgramSnapshot before = TakeSnapshot();
        drawLog.clear();
        if (leftFirst)
            RightButtonUp(0, Px(2), Py(2));
        else
            LeftButtonUp(0, Px(2), Py(2));
        EXPECT_TRUE(drawLog.empty());
        EXPECT_EQ(SnapshotDifference(before, TakeSnapshot()), "");
        EXPECT_EQ(ScreenPicture(), lost);
    }
}

// ---------------------------------------------------------------------------
// After the end of a game the mouse does nothing.

TEST(GameOver, EveryMessageIsDroppedAfterALossOrAWin)
{
    const struct {
        const char* name;
        std::function<void()> end;
    } endings[] = {
        {"lost",
         [] {
             LeftButtonDown(L, Px(5), Py(0));
             LeftButtonUp(0, Px(5), Py(0));
         }},
        {"won",
         [] {
             for (const worked::Square& bomb : worked::bombs)
                 RightClick(bomb.first, bomb.second);
         }},
    };
    const Message messages[] = {MouseCaseMove, MouseCaseLeftDown, MouseCaseLeftUp,
                                MouseCaseRightDown, MouseCaseRightUp};
    // Over the opened (0,0), a covered square, a bomb, the strip, off the board.
    const unsigned points[][2] = {
        {Px(0), Py(0)}, {Px(3), Py(2)}, {Px(1), Py(2)}, {Px(4), 4}, {300, 300}};
    for (const auto& ending : endings) {
        ASSERT_NO_FATAL_FAILURE(StartWorkedGame());
        ending.end();
        ASSERT_EQ(gameActive, 0);
        ASSERT_EQ(firstClickPending, 0);
        const std::string picture = ScreenPicture();
        const ProgramSnapshot before = TakeSnapshot();
        drawLog.clear();
        for (Message message : messages) {
            for (unsigned buttons : {0u, L, R, L | R}) {
                for (const auto& point : points) {
                    SCOPED_TRACE(::testing::Message() << ending.name << ": " << mouseCaseNames[message]
                                                      << " buttons " << buttons << " at ("
                                                      << point[0] << "," << point[1] << ")");
                    PlayMouseCase(message, buttons, point[0], point[1]);
                    EXPECT_TRUE(drawLog.empty());
                    EXPECT_EQ(SnapshotDifference(before, TakeSnapshot()), "");
                }
            }
        }
        EXPECT_EQ(ScreenPicture(), picture);
    }
}

TEST(GameOver, TheLastRightReleaseOfAWinLeavesTheRevealedBoard)
{
    ASSERT_NO_FATAL_FAILURE(StartWorkedGame());
    for (int i = 0; i + 1 < worked::BombCount; ++i)
        RightClick(worked::bombs[i].first, worked::bombs[i].second);
    RightButtonDown(R, Px(1), Py(4));  // the last bomb
    const std::string won = Picture(worked::wonPicture, worked::Rows);
    EXPECT_EQ(ScreenPicture(), won);
    RightButtonUp(0, Px(1), Py(4));
    EXPECT_EQ(ScreenPicture(), won);
}

TEST(GameOver, ANewGameBringsTheMouseBack)
{
    ASSERT_NO_FATAL_FAILURE(StartWorkedGame());
    LeftButtonDown(L, Px(1), Py(1));
    LeftButtonUp(0, Px(1), Py(1));  // lost
    NewGame();
    LeftButtonDown(L, Px(0), Py(0));
    EXPECT_EQ(shownTile[0][0], 3);
    LeftButtonUp(0, Px(0), Py(0));
    EXPECT_EQ(gameActive, 1);
    EXPECT_EQ(Board[0][0].opened, 1);
}
