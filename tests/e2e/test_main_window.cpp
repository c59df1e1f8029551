// The main window of the real program: how it opens, its menu commands, the
// version box, the ways to quit, and the window position it remembers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cwctype>
#include <functional>
#include <string>
#include <vector>

#include "tests/e2e/screen_checks.h"
#include "tests/support/worked_game.h"

namespace {

POINT TopLeft(HWND window)
{
    RECT outer = {};
    GetWindowRect(window, &outer);
    return {outer.left, outer.top};
}

bool WaitForTopLeft(HWND window, int x, int y)
{
    return WaitUntil([&] {
        const POINT corner = TopLeft(window);
        return corner.x == x && corner.y == y;
    });
}

// The first open of the worked game: (0, 0) shows "1".
Screen FirstOpenOnDefaultBoard() { return UniformScreen(10, 5, 0, 10).Set(0, 0, 4); }

TEST(MainWindow, FirstStartWithoutSettingsFile)
{
    GameFolder folder("first-start");
    ASSERT_FALSE(folder.HasIni());
    GameRun game(folder);
    ASSERT_TRUE(game.started());
    HWND window = game.window();

    const POINT corner = TopLeft(window);
    EXPECT_EQ(corner.x, 10);
    EXPECT_EQ(corner.y, 10);
    RECT client = {};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 160);
    EXPECT_EQ(client.bottom, 96);
    EXPECT_EQ(WindowText(window), L"Tolu Sweeper");
    EXPECT_NE(GetMenu(window), nullptr);
    // Movable and minimizable, but neither resizable nor maximizable.
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);

    const Screen screen = game.WaitForScreen(UniformScreen(10, 5, 0, 10));
    EXPECT_EQ(Describe(screen), Describe(UniformScreen(10, 5, 0, 10)));
    // The counter reads blank, 0, 1, 0; the strip right of it stays black.
    const int counter[4] = {27, 16, 17, 16};
    for (int cell = 0; cell < 4; ++cell)
        EXPECT_EQ(SameLookingTile(screen.counter[cell]), SameLookingTile(counter[cell])) << cell;
    EXPECT_TRUE(screen.blackRightOfCounter);

    ASSERT_EQ(game.Quit(), 0);
    ASSERT_TRUE(folder.HasIni());
    const std::vector<std::string> expected = {"[Set]",  "WinX=10", "WinY=10",
                                               "X=10",   "Y=5",     "Bom=10"};
    EXPECT_EQ(Lines(folder.ReadIni()), expected) << folder.ReadIni();
}

TEST(MainWindow, ClientAreaOfTheBiggestBoard)
{
    GameFolder folder("biggest");
    folder.WriteIni("[Set]\r\nX=36\r\nY=24\r\nBom=5\r\n");
    GameRun game(folder);
    ASSERT_TRUE(game.started());
    RECT client = {};
    GetClientRect(game.window(), &client);
    EXPECT_EQ(client.right, 576);
    EXPECT_EQ(client.bottom, 400);
    const Screen screen = game.WaitForScreen(UniformScreen(36, 24, 0, 5));
    EXPECT_EQ(Describe(screen), Describe(UniformScreen(36, 24, 0, 5)));
    EXPECT_TRUE(screen.blackRightOfCounter);
    EXPECT_EQ(game.Quit(), 0);
}

// The box's texts are Shift-JIS inside the program; read back as UTF-16
// they must be the Japanese caption on any system, not only a Japanese one.
TEST(MainWindow, VersionBox)
{
    std::printf("ANSI code page of this system: %u\n", GetACP());
    GameFolder folder("version-box");
    GameRun game(folder);
    ASSERT_TRUE(game.started());
    HWND window = game.window();
    ASSERT_TRUE(game.NoPopup());

    game.MenuCommand(IDM_ABOUT);
    HWND box = game.WaitForPopup();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(GetWindow(box, GW_OWNER), window);
    EXPECT_EQ(WindowText(box), Wide("ヴァージョン情報"));
    const std::wstring text = MessageBoxText(box);
    EXPECT_NE(text.find(L"Tolu Sweeper"), std::wstring::npos) << text.size();
    bool hasVersion = false;
    for (size_t i = 0; i + 2 < text.size(); ++i)
        hasVersion = hasVersion || (iswdigit(text[i]) && text[i + 1] == L'.' && iswdigit(text[i + 2]));
    EXPECT_TRUE(hasVersion);
    // A plain box: OK only.
    EXPECT_NE(GetDlgItem(box, IDOK), nullptr);
    EXPECT_EQ(GetDlgItem(box, IDCANCEL), nullptr);
    // Modal: the game's window waits for it.
    EXPECT_FALSE(IsWindowEnabled(window));

    PressButton(box, IDOK);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 5000));
    EXPECT_TRUE(game.NoPopup());
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(window) != FALSE; }, 5000));

    // The game goes on: a new game and a click both take effect. The command
    // is sent, not posted: a sent click would overtake a posted command.
    SendMessageW(window, WM_COMMAND, IDM_NEWGAME, 0);
    game.ClickSquare(0, 0);
    EXPECT_TRUE(Shows(game, FirstOpenOnDefaultBoard()));
    EXPECT_EQ(game.Quit(), 0);
}

struct PlayCase {
    const char* name;
    std::function<void(const GameRun&)> play;
    Screen before;  // what the play left on the screen
};

// Bombs at (4,0) and (5,0): the flag goes on (4,0).
Screen AfterFloodAndFlag()
{
    return ScreenOf({"1###F###1_", "########1_", "########21", "##########", "##########"}, 9);
}

// (1,1) is a bomb: every bomb shows, the opened one exploded.
Screen AfterLoss()
{
    Screen screen = FirstOpenOnDefaultBoard();
    for (const worked::Square& bomb : worked::bombs)
        screen.Set(bomb.first, bomb.second, TileBomb);
    return screen.Set(1, 1, TileExplodedBomb);
}

class NewGameCommandAfterPlay : public ::testing::TestWithParam<int> {};

// The new-game command clears whatever the play left: every square covered, the
// counter back to the bomb count, and the new board can be played.
TEST_P(NewGameCommandAfterPlay, StartsAFreshBoard)
{
    static const std::vector<PlayCase> cases = {
        {"flood and flag",
         [](const GameRun& game) {
             game.ClickSquare(0, 0);
             game.ClickSquare(9, 0);
             game.RightPressSquare(4, 0);
         },
         AfterFloodAndFlag()},
        {"lost game",
         [](const GameRun& game) {
             game.ClickSquare(0, 0);
             game.ClickSquare(1, 1);
         },
         AfterLoss()},
    };
    const PlayCase& c = cases[static_cast<size_t>(GetParam())];
    SCOPED_TRACE(c.name);
    GameFolder folder("new-game");
    GameRun game(folder);
    ASSERT_TRUE(game.started());
    ParkPointer();
    c.play(game);
    ASSERT_TRUE(Shows(game, c.before));

    game.MenuCommand(IDM_NEWGAME);
    EXPECT_TRUE(Shows(game, UniformScreen(10, 5, 0, 10)));

    // The first open of the new game is never a bomb.
    game.ClickSquare(3, 2);
    ASSERT_TRUE(WaitUntil([&] {
        const int tile = game.CurrentScreen().Square(3, 2);
        return tile >= 3 && tile <= 11;
    }, 5000)) << Describe(game.CurrentScreen());
    EXPECT_EQ(game.Quit(), 0);
}

INSTANTIATE_TEST_SUITE_P(MainWindow, NewGameCommandAfterPlay, ::testing::Values(0, 1));

struct EndingCase {
    const char* name;
    std::function<int(GameRun&)> end;
};

// Every road out ends with exit code 0 and the five keys written, with the
// values of this run (a size from the file, a place the player moved to).
TEST(MainWindow, EveryRoadOutSavesTheSettings)
{
    const EndingCase cases[] = {
        {"exit command", [](GameRun& game) { return game.Quit(IDM_EXIT); }},
        {"close box", [](GameRun& game) { return game.CloseBox(); }},
        {"close message from outside",
         [](GameRun& game) {
             PostMessageW(game.window(), WM_CLOSE, 0, 0);
             return game.WaitForExit();
         }},
    };
    for (const EndingCase& c : cases) {
        SCOPED_TRACE(c.name);
        GameFolder folder("ending");
        folder.WriteIni("[Set]\r\nX=11\r\nY=6\r\nBom=7\r\n");
        GameRun game(folder);
        ASSERT_TRUE(game.started());
        SetWindowPos(game.window(), nullptr, 70, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        ASSERT_TRUE(WaitForTopLeft(game.window(), 70, 60));
        EXPECT_EQ(c.end(game), 0);
        const std::vector<std::string> expected = {"[Set]", "X=11",    "Y=6",
                                                   "Bom=7", "WinX=70", "WinY=60"};
        std::vector<std::string> lines = Lines(folder.ReadIni());
        std::sort(lines.begin(), lines.end());
        std::vector<std::string> sorted = expected;
        std::sort(sorted.begin(), sorted.end());
        EXPECT_EQ(lines, sorted) << folder.ReadIni();
    }
}

class RememberedPlace : public ::testing::TestWithParam<bool> {};

// The file keeps the last place where the player saw the window: a move is
// remembered, and minimizing afterwards does not replace it with the far-off
// place of the minimized window. The next start opens there again.
TEST_P(RememberedPlace, IsTheLastNormalPosition)
{
    const bool minimize = GetParam();
    GameFolder folder("remembered-place");
    {
        GameRun game(folder);
        ASSERT_TRUE(game.started());
        HWND window = game.window();
        SetWindowPos(window, nullptr, 120, 90, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        ASSERT_TRUE(WaitForTopLeft(window, 120, 90));
        if (minimize) {
            ShowWindow(window, SW_MINIMIZE);
            ASSERT_TRUE(WaitUntil([&] { return IsIconic(window) != FALSE; }, 5000));
            const POINT corner = TopLeft(window);
            // Otherwise this run would not tell the two places apart.
            EXPECT_FALSE(corner.x == 120 && corner.y == 90);
        }
        ASSERT_EQ(game.Quit(), 0);
    }
    EXPECT_EQ(folder.IniInt("WinX"), 120);
    EXPECT_EQ(folder.IniInt("WinY"), 90);

    GameRun again(folder);
    ASSERT_TRUE(again.started());
    EXPECT_FALSE(IsIconic(again.window()));
    const POINT corner = TopLeft(again.window());
    EXPECT_EQ(corner.x, 120);
    EXPECT_EQ(corner.y, 90);
    EXPECT_EQ(again.Quit(), 0);
}

INSTANTIATE_TEST_SUITE_P(MainWindow, RememberedPlace, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "ThenMinimized" : "Moved");
                         });

// Started minimized, the window never shows in a normal place: the file's
// place is the one kept, not the minimized window's.
TEST(MainWindow, StartedMinimizedKeepsTheFilePosition)
{
    GameFolder folder("start-minimized");
    folder.WriteIni("[Set]\r\nWinX=130\r\nWinY=95\r\n");
    GameRun game(folder, SW_SHOWMINNOACTIVE);
    ASSERT_TRUE(game.started());
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(game.window()) != FALSE; }, 5000));
    ASSERT_EQ(game.Quit(), 0);
    EXPECT_EQ(folder.IniInt("WinX"), 130);
    EXPECT_EQ(folder.IniInt("WinY"), 95);
}

}  // namespace
