// The settings file as the player's tsweeper.ini meets the real program: what
// a prepared file gives on the screen at start-up, and what the file holds
// after the program has ended.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/e2e/screen_checks.h"

namespace {

// The lines of one section, after its header up to the next header.
std::vector<std::string> SectionLines(const std::string& text, const std::string& section)
{
    std::vector<std::string> found;
    bool inside = false;
    for (const std::string& line : Lines(text)) {
        if (!line.empty() && line[0] == '[') {
            inside = line == "[" + section + "]";
            continue;
        }
        if (inside && !line.empty())
            found.push_back(line);
    }
    return found;
}

struct BoardCase {
    const char* name;
    const char* ini;  // the file before the run
    int columns;      // what the screen shows
    int rows;
    int bombs;        // the counter of the fresh board
};

void PrintTo(const BoardCase& value, std::ostream* out)
{
    *out << value.name;
}

class BoardFromFile : public GameTestWithParam<BoardCase> {};

// Each file value is read, corrected when out of range, shown, and written
// back as corrected; the window keeps its default place.
TEST_P(BoardFromFile, ShownAndWrittenBack)
{
    const BoardCase& c = GetParam();
    ASSERT_TRUE(Launch(c.ini));

    const Screen expected = UniformScreen(c.columns, c.rows, 0, c.bombs);
    const Screen screen = game_->WaitForScreen(expected);
    EXPECT_EQ(screen.columns, c.columns);
    EXPECT_EQ(screen.rows, c.rows);
    EXPECT_EQ(Describe(screen), Describe(expected));
    RECT client = {};
    GetClientRect(game_->window(), &client);
    EXPECT_EQ(client.right, ClientWidth(c.columns));
    EXPECT_EQ(client.bottom, ClientHeight(c.rows));

    ASSERT_EQ(game_->Quit(), 0);
    EXPECT_EQ(Describe(ReadBackSettings(folder_->Ini())), Describe(SettingsValues{10, 10, c.columns, c.rows, c.bombs}));
}

const BoardCase BoardCases[] = {
    {"KeepsInRangeValues", "[Set]\r\nX=12\r\nY=7\r\nBom=20\r\n", 12, 7, 20},
    {"SmallestBoardAndBombs", "[Set]\r\nX=10\r\nY=5\r\nBom=5\r\n", 10, 5, 5},
    {"EmptySection", "[Set]\r\n", 10, 5, 10},
    {"ColumnsAboveRange", "[Set]\r\nX=37\r\nY=5\r\nBom=10\r\n", 10, 5, 10},
    {"ColumnsBelowRange", "[Set]\r\nX=9\r\nY=5\r\nBom=10\r\n", 10, 5, 10},
    {"ColumnsFarAboveRange", "[Set]\r\nX=99\r\nY=6\r\nBom=10\r\n", 10, 6, 10},
    {"RowsAboveRange", "[Set]\r\nX=11\r\nY=25\r\nBom=10\r\n", 11, 5, 10},
    {"RowsBelowRange", "[Set]\r\nX=11\r\nY=4\r\nBom=10\r\n", 11, 5, 10},
    {"BombsMissing", "[Set]\r\nX=10\r\nY=5\r\n", 10, 5, 10},
    {"BombsMissingOnBigBoard", "[Set]\r\nX=36\r\nY=24\r\n", 36, 24, 10},
    {"BombsBelowRange", "[Set]\r\nX=10\r\nY=5\r\nBom=4\r\n", 10, 5, 5},
    {"BombsAtLimit", "[Set]\r\nX=10\r\nY=5\r\nBom=45\r\n", 10, 5, 45},
    {"BombsAboveLimit", "[Set]\r\nX=10\r\nY=5\r\nBom=46\r\n", 10, 5, 5},
    // The bomb limit follows the board as corrected: 10 x 24 allows 235.
    {"BombLimitAfterColumnsCorrected", "[Set]\r\nX=100\r\nY=24\r\nBom=300\r\n", 10, 24, 5},
    {"BombsKeptOnWideBoard", "[Set]\r\nX=36\r\nY=24\r\nBom=300\r\n", 36, 24, 300},
    // 36 x 5 allows 175: 100 stays, 200 does not, whatever the refused 30 rows allowed.
    {"BombsKeptAfterRowsCorrected", "[Set]\r\nX=36\r\nY=30\r\nBom=100\r\n", 36, 5, 100},
    {"BombLimitAfterRowsCorrected", "[Set]\r\nX=36\r\nY=30\r\nBom=200\r\n", 36, 5, 5},
};

INSTANTIATE_TEST_SUITE_P(Settings, BoardFromFile, ::testing::ValuesIn(BoardCases),
                         [](const ::testing::TestParamInfo<BoardCase>& info) {
                             return std::string(info.param.name);
                         });

struct PositionCase {
    const char* name;
    const char* ini;
    int left;  // the window's top-left corner on the screen
    int top;
    const char* writtenX;  // the lines the file holds afterwards
    const char* writtenY;
};

void PrintTo(const PositionCase& value, std::ostream* out)
{
    *out << value.name;
}

class PositionFromFile : public GameTestWithParam<PositionCase> {};

// The window opens where the file says, with no range test, and the place
// goes back as signed decimal.
TEST_P(PositionFromFile, OpensThereAndIsWrittenBack)
{
    const PositionCase& c = GetParam();
    ASSERT_TRUE(Launch(c.ini));
    RECT outer = {};
    GetWindowRect(game_->window(), &outer);
    EXPECT_EQ(outer.left, c.left);
    EXPECT_EQ(outer.top, c.top);

    ASSERT_EQ(game_->Quit(), 0);
    const std::vector<std::string> set = SectionLines(folder_->ReadIni(), "Set");
    EXPECT_NE(std::find(set.begin(), set.end(), c.writtenX), set.end()) << folder_->ReadIni();
    EXPECT_NE(std::find(set.begin(), set.end(), c.writtenY), set.end()) << folder_->ReadIni();
}

const PositionCase PositionCases[] = {
    {"Default", "[Set]\r\nX=10\r\n", 10, 10, "WinX=10", "WinY=10"},
    {"Given", "[Set]\r\nWinX=200\r\nWinY=150\r\n", 200, 150, "WinX=200", "WinY=150"},
    {"BeyondLeftEdge", "[Set]\r\nWinX=-20\r\nWinY=30\r\n", -20, 30, "WinX=-20", "WinY=30"},
    {"BeyondTopEdge", "[Set]\r\nWinX=50\r\nWinY=-7\r\n", 50, -7, "WinX=50", "WinY=-7"},
};

INSTANTIATE_TEST_SUITE_P(Settings, PositionFromFile, ::testing::ValuesIn(PositionCases),
                         [](const ::testing::TestParamInfo<PositionCase>& info) {
                             return std::string(info.param.name);
                         });

// A file with no "Set" section gains one with all five keys in their order;
// the player's strip line is left exactly as it was.
TEST(Settings, OtherSectionSurvivesAndSetIsAdded)
{
    const std::string panelLine = "PanelBMP=C:\\no such folder\\my tiles.bmp";
    GameFolder folder("panel-line");
    folder.WriteIni("[File Name]\r\n" + panelLine + "\r\n");
    GameRun game(folder);
    ASSERT_TRUE(game.started());
    // The named file does not exist: the built-in strip draws the board.
    const Screen screen = game.WaitForScreen(UniformScreen(10, 5, 0, 10));
    EXPECT_EQ(Describe(screen), Describe(UniformScreen(10, 5, 0, 10)));
    ASSERT_EQ(game.Quit(), 0);

    const std::string text = folder.ReadIni();
    EXPECT_EQ(SectionLines(text, "File Name"), std::vector<std::string>{panelLine}) << text;
    const std::vector<std::string> set = {"WinX=10", "WinY=10", "X=10", "Y=5", "Bom=10"};
    EXPECT_EQ(SectionLines(text, "Set"), set) << text;
}

// A second run over a file the first one wrote starts from what was saved,
// the strip line included, and leaves both unchanged.
TEST(Settings, RunAfterRunKeepsTheFile)
{
    GameFolder folder("run-after-run");
    folder.WriteIni(
        "[Set]\r\nWinX=40\r\nWinY=50\r\nX=20\r\nY=8\r\nBom=30\r\n"
        "[File Name]\r\nPanelBMP=missing.bmp\r\n");
    {
        GameRun game(folder);
        ASSERT_TRUE(game.started());
        ASSERT_EQ(game.Quit(), 0);
    }
    const std::string first = folder.ReadIni();
    {
        GameRun game(folder);
        ASSERT_TRUE(game.started());
        const Screen screen = game.WaitForScreen(UniformScreen(20, 8, 0, 30));
        EXPECT_EQ(Describe(screen), Describe(UniformScreen(20, 8, 0, 30)));
        RECT outer = {};
        GetWindowRect(game.window(), &outer);
        EXPECT_EQ(outer.left, 40);
        EXPECT_EQ(outer.top, 50);
        ASSERT_EQ(game.Quit(), 0);
    }
    EXPECT_EQ(folder.ReadIni(), first);
    EXPECT_EQ(SectionLines(first, "File Name"), std::vector<std::string>{"PanelBMP=missing.bmp"});
    const std::vector<std::string> set = {"WinX=40", "WinY=50", "X=20", "Y=8", "Bom=30"};
    EXPECT_EQ(SectionLines(first, "Set"), set) << first;
}

}  // namespace
