// The real program played from the keyboard alone with real key events, and
// followed by a reader from this process: after every key the window's
// pixels, the cursor's frame, the events and the names the board's
// accessible object gives are those of the test's model of the same keys.
#include <gtest/gtest.h>

#include <random>

#include "tests/e2e/board_checks.h"

namespace {

constexpr long Squares = 10 * 5;

class BoardKeys : public KeyboardGameTest {};

// Every safe square opened with Space or Enter, every bomb flagged with F,
// the cursor walked there by the arrows: the game is won, and the reader
// hears the win once.
TEST_F(BoardKeys, WholeGameWonByKeysAlone)
{
    ASSERT_TRUE(Start(10, 5, 10));
    ASSERT_TRUE(ShowsModel(*game_, false, zoom_)) << "no frame before a key";
    ASSERT_TRUE(Play(VK_SPACE)) << "the first open";
    bool enter = false;
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column)
            if (!Board[column][row].mine && !Board[column][row].opened) {
                ASSERT_TRUE(WalkTo(column, row));
                ASSERT_TRUE(Play(enter ? VK_RETURN : VK_SPACE)) << column << ", " << row;
                enter = !enter;
            }
    for (int row = rows - 1; row >= 0; --row)
        for (int column = columns - 1; column >= 0; --column)
            if (Board[column][row].mine) {
                ASSERT_TRUE(WalkTo(column, row));
                ASSERT_TRUE(Play('F')) << column << ", " << row;
            }
    EXPECT_EQ(GameEnding(), ReaderGameWon);
    EXPECT_EQ(reader_->Name(EndingElement()), Wide(words::Won));
    EXPECT_EQ(reader_->Name(CounterElement()), Wide("残りの爆弾 0"));
    EXPECT_EQ(game_->Quit(), 0);
}

struct Session {
    unsigned seed;
    int columns, rows, bombs;
};

class RandomKeys : public KeyboardGameTest, public ::testing::WithParamInterface<Session> {};

// Seeded random keys, moves more often than plays; a game that ends starts
// again from the menu, the cursor kept where it was.
TEST_P(RandomKeys, EveryKeyAsTheModelPlaysIt)
{
    const Session session = GetParam();
    const std::string ini = "[Set]\nX=" + std::to_string(session.columns) + "\nY=" + std::to_string(session.rows) +
                            "\nBom=" + std::to_string(session.bombs) + "\n";
    ASSERT_TRUE(Start(session.columns, session.rows, session.bombs, ini));
    struct Key {
        WORD key;
        bool control;
    };
    const Key keys[] = {{VK_LEFT, false}, {VK_RIGHT, false}, {VK_UP, false},  {VK_DOWN, false},
                        {VK_LEFT, false}, {VK_RIGHT, false}, {VK_UP, false},  {VK_DOWN, false},
                        {VK_HOME, false}, {VK_END, false},   {VK_HOME, true}, {VK_END, true},
                        {VK_SPACE, false}, {VK_RETURN, false}, {'F', false},  {'F', false}};
    std::mt19937 random(session.seed);
    std::uniform_int_distribution<size_t> pick(0, sizeof keys / sizeof keys[0] - 1);
    for (int step = 0; step < 90; ++step) {
        const Key key = keys[pick(random)];
        ASSERT_TRUE(Play(key.key, key.control)) << "step " << step << ", key " << key.key;
        if (GameEnding() != ReaderTextCount) {
            const long focus = SquareElement(cursorColumn, cursorRow);
            game_->MenuCommand(IDM_NEWGAME);
            NewGame();
            ASSERT_TRUE(Follows(focus)) << "a new game after step " << step;
        }
    }
    EXPECT_EQ(game_->Quit(), 0);
}

INSTANTIATE_TEST_SUITE_P(Seeded, RandomKeys,
                         ::testing::Values(Session{1, 10, 5, 10}, Session{7, 10, 5, 5}, Session{42, 20, 10, 30},
                                           Session{2026, 16, 8, 40}));

// A held key repeats a move, never a click or a flag.
TEST_F(BoardKeys, HeldKeysRepeatMovesOnly)
{
    ASSERT_TRUE(Start(10, 5, 10));
    ASSERT_TRUE(Play(VK_SPACE));  // (0, 0) opens a number
    HoldKey(VK_RIGHT, 4);
    for (int i = 0; i < 4; ++i)
        model::Key(VK_RIGHT);
    ASSERT_TRUE(Follows(SquareElement(0, 0), 4)) << "four moves";

    // F held on a covered square: one flag, not a flag and its question.
    ASSERT_TRUE(WalkTo(1, 1));
    HoldKey('F', 3);
    model::Key('F');
    ASSERT_TRUE(Follows(SquareElement(1, 1))) << "one flag";

    // Space held on a covered number whose bombs are all flagged: it opens,
    // and its repeats do not chord the neighbours open.
    int numberColumn = -1, numberRow = -1;
    for (int column = 0; column < columns && numberColumn < 0; ++column)
        for (int row = 0; row < rows && numberColumn < 0; ++row)
            if (!Board[column][row].opened && !Board[column][row].mine && CountAdjacentMines(column, row) > 0) {
                numberColumn = column;
                numberRow = row;
            }
    ASSERT_GE(numberColumn, 0);
    for (int column = numberColumn - 1; column <= numberColumn + 1; ++column)
        for (int row = numberRow - 1; row <= numberRow + 1; ++row)
            if (InBounds(column, row) && Board[column][row].mine && !Board[column][row].mark) {
                ASSERT_TRUE(WalkTo(column, row));
                ASSERT_TRUE(Play('F'));
            }
    ASSERT_TRUE(WalkTo(numberColumn, numberRow));
    HoldKey(VK_SPACE, 3);
    model::Key(VK_SPACE);
    ASSERT_TRUE(Follows(SquareElement(numberColumn, numberRow))) << "opened once, no chord";
}

// The frame comes with the first board key, goes while another window is
// active and comes back with the focus when the window is active again.
TEST_F(BoardKeys, FrameAndFocusFollowTheActiveWindow)
{
    ASSERT_TRUE(Start(10, 5, 10));
    ASSERT_TRUE(Play(VK_DOWN));
    EXPECT_EQ(reader_->Focus(), SquareElement(0, 1));
    EXPECT_NE(reader_->State(SquareElement(0, 1)) & STATE_SYSTEM_FOCUSED, 0);

    HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 700, 600, 100, 100, nullptr,
                                 nullptr, nullptr, nullptr);
    ASSERT_TRUE(BringToFront(other));
    EXPECT_TRUE(ShowsModel(*game_, false, zoom_)) << "no frame while inactive";
    EXPECT_EQ(reader_->Focus(), -1);
    EXPECT_EQ(reader_->State(SquareElement(0, 1)) & STATE_SYSTEM_FOCUSED, 0);
    watch_->Take();

    ASSERT_TRUE(BringToFront(game_->window()));
    EXPECT_TRUE(ShowsModel(*game_, true, zoom_)) << "the frame again";
    WaitUntil([&] { return !SquareFocuses(watch_->Seen()).empty(); });
    const std::vector<BoardEvent> focuses = SquareFocuses(watch_->Take(30));
    ASSERT_EQ(focuses.size(), 1u);
    EXPECT_EQ(focuses[0].child, SquareElement(0, 1));
    EXPECT_EQ(focuses[0].name, ModelName(SquareElement(0, 1)));
    DestroyWindow(other);
}

// Alt still opens the menus: Down then moves in the menu, not the cursor.
TEST_F(BoardKeys, AltOpensTheMenuInsteadOfMovingTheCursor)
{
    ASSERT_TRUE(Start(10, 5, 10));
    ASSERT_TRUE(Play(VK_RIGHT));
    TapKey(VK_MENU);
    TapKey(VK_DOWN);
    auto menuOpen = [&] {
        for (HWND window : WindowsOfProcess(game_->processId())) {
            char name[16] = "";
            GetClassNameA(window, name, sizeof name);
            if (lstrcmpA(name, "#32768") == 0 && IsWindowVisible(window))
                return true;
        }
        return false;
    };
    EXPECT_TRUE(WaitUntil(menuOpen)) << "no menu opened";
    TapKey(VK_ESCAPE);
    TapKey(VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([&] { return !menuOpen(); }));
    EXPECT_EQ(reader_->Focus(), SquareElement(1, 0)) << "Down went to the cursor";
    ASSERT_TRUE(Play(VK_DOWN)) << "the board's keys again after the menu";
    EXPECT_LE(SquareElement(cursorColumn, cursorRow), Squares);
}

}  // namespace
