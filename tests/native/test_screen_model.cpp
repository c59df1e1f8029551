// The screen model that the page, the replay and the stand-ins keep, and the
// dispatcher of the five mouse cases, played through the real rules and mouse
// layer on the worked game.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "core/draw.h"
#include "core/geometry.h"
#include "core/rules.h"
#include "input/mouse.h"
#include "input/mouse_cases.h"
#include "render/screen_model.h"
#include "tests/native/draw_recorder.h"

namespace {

unsigned Px(int column) { return static_cast<unsigned>(SquareLeft(column) + SquareSize / 2); }
unsigned Py(int row) { return static_cast<unsigned>(SquareTop(row) + SquareSize / 2); }

std::vector<std::pair<int, int>> ChangedSquares()
{
    std::vector<std::pair<int, int>> squares;
    for (int i = 0; i < changedSquareCount; ++i)
        squares.emplace_back(changedSquares[i][0], changedSquares[i][1]);
    return squares;
}

int Shown(int column, int row) { return shownTile[column][row]; }

std::vector<int> ChangedRect() { return {changedRect[0], changedRect[1], changedRect[2], changedRect[3]}; }

}  // namespace

TEST(ScreenModel, ChangesGrowUntilForgottenAndListEachSquareOnce)
{
    ResetProgramState(10, 5, 10);
    EXPECT_EQ(ChangedRect(), (std::vector<int>{0, 0, 0, 0}));
    EXPECT_EQ(Shown(3, 2), NeverDrawn);

    DrawTile(3, 2, TileFlag);
    DrawTile(1, 4, TileCovered);
    DrawTile(3, 2, TileCovered);  // again: listed once, in the order first drawn
    EXPECT_EQ(ChangedSquares(), (std::vector<std::pair<int, int>>{{3, 2}, {1, 4}}));
    EXPECT_EQ(ChangedRect(), (std::vector<int>{SquareLeft(1), SquareTop(2), SquareLeft(4), SquareTop(5)}));
    EXPECT_EQ(Shown(3, 2), TileCovered);

    mineCounter = -7;
    DrawCounter();
    EXPECT_EQ(shownCounter, -7);
    int tiles[CounterCells];
    CounterTiles(-7, tiles);
    EXPECT_EQ(std::vector<int>(shownCounterTiles, shownCounterTiles + CounterCells),
              std::vector<int>(tiles, tiles + CounterCells));
    EXPECT_EQ(ChangedRect(), (std::vector<int>{0, 0, SquareLeft(4), SquareTop(5)}));

    ForgetChanges();
    EXPECT_EQ(ChangedRect(), (std::vector<int>{0, 0, 0, 0}));
    EXPECT_TRUE(ChangedSquares().empty());
    DrawTile(3, 2, TileFlag);  // listed again after the changes were taken
    EXPECT_EQ(ChangedSquares(), (std::vector<std::pair<int, int>>{{3, 2}}));
    EXPECT_EQ(Shown(1, 4), TileCovered);  // what is shown stays
    // Drawn again as it shows: repainted, not listed.
    ForgetChanges();
    DrawTile(1, 4, TileCovered);
    EXPECT_TRUE(ChangedSquares().empty());
    EXPECT_EQ(ChangedRect(), (std::vector<int>{SquareLeft(1), SquareTop(4), SquareLeft(2), SquareTop(5)}));
}

// Shown pressed, then opened empty: the same tile twice, but the square read
// as covered and now reads as empty, so it is listed both times.
TEST(ScreenModel, SquareOpenedWhereItWasShownPressedIsListed)
{
    ResetProgramState(10, 5, 10);
    gameActive = 1;
    DrawTile(2, 3, TileCovered);
    ForgetChanges();
    DrawTile(2, 3, TileOpenedEmpty);  // the pressed look
    EXPECT_EQ(TileSeen(2, 3), TileCovered);
    EXPECT_EQ(ChangedSquares(), (std::vector<std::pair<int, int>>{{2, 3}}));
    ForgetChanges();
    Board[2][3].opened = 1;
    DrawTile(2, 3, TileOpenedEmpty);
    EXPECT_EQ(ChangedSquares(), (std::vector<std::pair<int, int>>{{2, 3}}));
    ForgetChanges();
    DrawTile(2, 3, TileOpenedEmpty);
    EXPECT_TRUE(ChangedSquares().empty());
}

TEST(ScreenModel, NothingRecordedOffTheBoard)
{
    ResetProgramState(10, 5, 10);
    for (const std::pair<int, int>& square : {std::pair<int, int>{10, 0}, {0, 5}, {-1, 0}, {0, -1}}) {
        EXPECT_EQ(ShowTile(square.first, square.second, TileFlag), 0);
        EXPECT_EQ(TileSeen(square.first, square.second), NeverDrawn);
    }
    EXPECT_EQ(changedSquareCount, 0);
    EXPECT_EQ(ChangedRect(), (std::vector<int>{0, 0, 0, 0}));
    EXPECT_EQ(Shown(10, 0), NeverDrawn);  // within the array, beyond the board
}

// A covered square shown pressed reads as covered while a game waits or
// runs; an opened square and a finished game read as drawn.
TEST(ScreenModel, PressedCoveredSquareReadsAsCoveredWhilePlayRuns)
{
    ResetProgramState(10, 5, 10);
    NewGame();
    PlayMouseCase(MouseCaseLeftDown, MouseLeft, Px(6), Py(0));
    ASSERT_EQ(Shown(6, 0), TileOpenedEmpty);
    EXPECT_EQ(TileSeen(6, 0), TileCovered) << "waiting for the first open";
    PlayMouseCase(MouseCaseLeftUp, 0, Px(0), Py(0));  // released elsewhere: nothing opens
    PlayMouseCase(MouseCaseLeftDown, MouseLeft, Px(0), Py(0));
    PlayMouseCase(MouseCaseLeftUp, 0, Px(0), Py(0));
    ASSERT_EQ(gameActive, 1);
    EXPECT_EQ(TileSeen(0, 0), TileOpenedEmpty + 1) << "an opened number";
    PlayMouseCase(MouseCaseLeftDown, MouseLeft, Px(6), Py(0));
    EXPECT_EQ(TileSeen(6, 0), TileCovered) << "in play";
    gameActive = 0;  // the game ended with the square still drawn pressed
    EXPECT_EQ(TileSeen(6, 0), TileOpenedEmpty) << "over";
}

TEST(MouseCases, EachCaseReachesItsFunctionAndOthersNothing)
{
    ResetProgramState(10, 5, 10);
    NewGame();
    PlayMouseCase(MouseCaseLeftDown, MouseLeft, Px(0), Py(0));
    PlayMouseCase(MouseCaseLeftUp, 0, Px(0), Py(0));
    ASSERT_EQ(Board[0][0].opened, 1);
    drawLog.clear();
    for (int outside : {-1, static_cast<int>(MouseCaseCount), 99}) {
        EXPECT_EQ(PlayMouseCase(outside, MouseLeft, Px(2), Py(2)), 0);
        EXPECT_TRUE(drawLog.empty()) << outside;
    }
    // A right press flags; a left press shows the pressed look; each release
    // and a move with nothing held draws nothing more.
    EXPECT_EQ(PlayMouseCase(MouseCaseRightDown, MouseRight, Px(2), Py(2)), 1);
    EXPECT_EQ(Shown(2, 2), TileFlag);
    EXPECT_EQ(PlayMouseCase(MouseCaseRightUp, 0, Px(2), Py(2)), 1);
    EXPECT_EQ(PlayMouseCase(MouseCaseLeftDown, MouseLeft, Px(4), Py(3)), 1);
    EXPECT_EQ(Shown(4, 3), TileOpenedEmpty);
    EXPECT_EQ(PlayMouseCase(MouseCaseMove, MouseLeft, Px(5), Py(3)), 1);
    EXPECT_EQ(Shown(4, 3), TileCovered);
    EXPECT_EQ(Shown(5, 3), TileOpenedEmpty);
    EXPECT_EQ(PlayMouseCase(MouseCaseLeftUp, 0, Px(5), Py(3)), 1);
    EXPECT_EQ(Board[5][3].opened, 1);
    EXPECT_STREQ(mouseCaseNames[MouseCaseRightUp], "RightButtonUp");
}
