// Settings files that are damaged, odd or unwritable: the program starts on
// the values the profile functions yield, corrected into range, plays, ends
// with exit code 0 without a message, and writes the corrected values back
// while the player's other lines stay as they were.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "tests/e2e/screen_checks.h"
#include "tests/e2e/game_model.h"
#include "tests/support/random_bytes.h"

namespace {

// Lines of the player's own that every run must leave alone.
const char* const PlayerLines[] = {
    "; my own note about the game",
    "[Other]",
    "colour=blue and green",
    "[File Name]",
    "PanelBMP=no-such-strip.bmp",
};

std::string PlayerPart()
{
    std::string text;
    for (const char* line : PlayerLines)
        text += std::string(line) + "\r\n";
    return text;
}

std::string Utf16Le(const std::string& ascii)
{
    std::string bytes = "\xFF\xFE";
    for (char c : ascii) {
        bytes += c;
        bytes += '\0';
    }
    return bytes;
}

// A UTF-16 file's text as bytes of one byte per character; others unchanged.
std::string AsNarrow(const std::string& bytes)
{
    if (bytes.size() < 2 || bytes[0] != '\xFF' || bytes[1] != '\xFE')
        return bytes;
    std::string text;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2)
        text += bytes[i + 1] == '\0' ? bytes[i] : '?';
    return text;
}

using Values = SettingsValues;

// The program's range rules: size first, then the bombs against it.
Values Corrected(Values raw)
{
    raw.columns = CorrectColumns(raw.columns);
    raw.rows = CorrectRows(raw.rows);
    raw.bombs = CorrectBombs(raw.bombs, raw.columns, raw.rows);
    return raw;
}

struct BadFile {
    const char* name;
    std::string contents;
    // What the platform's profile function reads (measured under Wine),
    // before the program's range correction.
    Values read;
    // The board the program must show, after correction.
    int columns, rows, bombs;
    bool keepsPlayerLines;
};

std::vector<BadFile> BadFiles()
{
    const std::string player = PlayerPart();
    const std::string oneMegabyte(1 << 20, '1');
    return {
        {"garbage", RandomBytes(8, 4096), {10, 10, 10, 5, 10}, 10, 5, 10, false},
        {"empty", "", {10, 10, 10, 5, 10}, 10, 5, 10, false},
        {"words", "[Set]\r\nWinX=abc\r\nWinY=xyz\r\nX=abc\r\nY=def\r\nBom=ghi\r\n" + player,
         {0, 0, 0, 0, 0}, 10, 5, 5, true},
        {"signs", "[Set]\r\nWinX=+40\r\nWinY=-0\r\nX=+12\r\nY=-12\r\nBom=+7\r\n" + player,
         {40, 0, 12, -12, 7}, 12, 5, 7, true},
        {"negative", "[Set]\r\nWinX=30\r\nWinY=20\r\nX=-12\r\nY=6\r\nBom=-8\r\n" + player,
         {30, 20, -12, 6, -8}, 10, 6, 5, true},
        {"blanks", "[Set]\r\nWinX= 25 \r\nWinY=\t35\t\r\nX= 12 \r\nY=  6\r\nBom= 8 \r\n" + player,
         {25, 35, 12, 6, 8}, 12, 6, 8, true},
        {"hexadecimal", "[Set]\r\nWinX=0x20\r\nWinY=0x18\r\nX=0x10\r\nY=0x6\r\nBom=0x14\r\n" + player,
         {32, 24, 16, 6, 20}, 16, 6, 20, true},
        {"beyond-32-bits",
         "[Set]\r\nWinX=4294967336\r\nWinY=4294967316\r\nX=4294967308\r\nY=4294967302\r\nBom=99999999999\r\n" +
             player,
         {40, 20, 12, 6, 1215752191}, 12, 6, 5, true},
        {"megabyte-line",
         "[Set]\r\nWinX=30\r\nWinY=30\r\nX=" + oneMegabyte + "\r\nY=7\r\nBom=12\r\n" + player +
             "[Junk]\r\nlong=" + std::string(1 << 20, 'z') + "\r\n",
         {30, 30, 1729917383, 7, 12}, 10, 7, 12, true},
        {"duplicates",
         "[Set]\r\nWinX=30\r\nWinY=30\r\nX=20\r\nX=30\r\nY=7\r\n[Set]\r\nX=40\r\nBom=30\r\n" + player,
         {30, 30, 20, 7, 10}, 20, 7, 10, true},
        {"utf8-bom", "\xEF\xBB\xBF[Set]\r\nWinX=30\r\nWinY=30\r\nX=14\r\nY=6\r\nBom=9\r\n" + player,
         {30, 30, 14, 6, 9}, 14, 6, 9, true},
        {"utf16-le", Utf16Le("[Set]\r\nWinX=30\r\nWinY=30\r\nX=15\r\nY=8\r\nBom=11\r\n" + player),
         {30, 30, 15, 8, 11}, 15, 8, 11, true},
        {"no-set-section", player, {10, 10, 10, 5, 10}, 10, 5, 10, true},
    };
}


// Plays the first open and a flag on the fresh board, compared with the
// game's own rules run here, and checks no message ever shows.
::testing::AssertionResult PlaysAsTheRules(const GameRun& game, int columns, int rows, int bombs)
{
    model::Start(columns, rows, bombs);
    ::testing::AssertionResult first = Shows(game, model::Shown());
    if (!first)
        return first << "first board";
    model::ClickBoth(game, 0, 0);
    model::RightPressBoth(game, columns - 1, rows - 1);
    ::testing::AssertionResult played = Shows(game, model::Shown());
    if (!played)
        return played << "after an open and a flag";
    if (!game.NoPopup())
        return ::testing::AssertionFailure() << "a message shows";
    return ::testing::AssertionSuccess();
}

}  // namespace

class BadSettings : public ::testing::TestWithParam<BadFile> {};

TEST_P(BadSettings, PlaysOnCorrectedValuesAndWritesThemBack)
{
    const BadFile& bad = GetParam();
    ParkPointer();
    GameFolder folder((std::string("bad-settings-") + bad.name).c_str());
    folder.WriteIni(bad.contents);

    // The platform reads what the table says; the program only corrects it.
    const Values read = ReadBackSettings(folder.Ini(), true);
    ASSERT_EQ(Describe(read), Describe(bad.read)) << "the profile function reads this file differently";
    const Values corrected = Corrected(read);
    ASSERT_EQ(corrected.columns, bad.columns);
    ASSERT_EQ(corrected.rows, bad.rows);
    ASSERT_EQ(corrected.bombs, bad.bombs);

    GameRun game(folder);
    ASSERT_TRUE(game.started());
    EXPECT_TRUE(game.NoPopup());
    RECT client = {};
    GetClientRect(game.window(), &client);
    EXPECT_EQ(client.right, ClientWidth(bad.columns));
    EXPECT_EQ(client.bottom, ClientHeight(bad.rows));
    const RECT outer = WindowRect(game.window());
    EXPECT_EQ(outer.left, read.windowX);
    EXPECT_EQ(outer.top, read.windowY);
    EXPECT_TRUE(PlaysAsTheRules(game, bad.columns, bad.rows, bad.bombs));
    const RECT last = WindowRect(game.window());
    EXPECT_TRUE(game.NoPopup());
    ASSERT_EQ(game.Quit(), 0);

    const Values written = ReadBackSettings(folder.Ini());
    const Values expected = {static_cast<int>(last.left), static_cast<int>(last.top), bad.columns, bad.rows,
                             bad.bombs};
    EXPECT_EQ(Describe(written), Describe(expected));
    const std::string after = AsNarrow(folder.ReadIni());
    if (bad.keepsPlayerLines) {
        for (const char* line : PlayerLines)
            EXPECT_NE(after.find(std::string(line) + "\r\n"), std::string::npos) << line << " was lost";
    }
    if (std::string(bad.name) == "megabyte-line") {
        EXPECT_NE(after.find("long=" + std::string(1 << 20, 'z') + "\r\n"), std::string::npos)
            << "the player's megabyte line was changed";
    }
    if (std::string(bad.name) == "utf16-le") {
        EXPECT_EQ(folder.ReadIni().substr(0, 2), "\xFF\xFE") << "the file is no longer UTF-16";
    }
}

INSTANTIATE_TEST_SUITE_P(Files, BadSettings, ::testing::ValuesIn(BadFiles()),
                         [](const ::testing::TestParamInfo<BadFile>& info) {
                             std::string name = info.param.name;
                             for (char& c : name)
                                 if (c == '-')
                                     c = '_';
                             return name;
                         });

// A settings file that another program holds open without sharing writes:
// the program reads it, plays, cannot write and says nothing about it.
TEST(UnwritableSettings, FileLockedByAnotherProgram)
{
    ParkPointer();
    GameFolder folder("settings-locked");
    const std::string contents = "[Set]\r\nWinX=40\r\nWinY=50\r\nX=13\r\nY=7\r\nBom=99\r\n" + PlayerPart();
    folder.WriteIni(contents);
    HANDLE lock = CreateFileW(folder.Ini().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    // The lock is real: this process cannot open the file for writing either.
    HANDLE writer = CreateFileW(folder.Ini().c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_EQ(writer, INVALID_HANDLE_VALUE);

    {
        GameRun game(folder);
        ASSERT_TRUE(game.started());
        // 99 bombs exceed 13 x 7 - 5 = 86: five bombs.
        EXPECT_TRUE(PlaysAsTheRules(game, 13, 7, 5));
        SetWindowPos(game.window(), nullptr, 200, 150, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);  // a change it would have saved
        EXPECT_EQ(game.Quit(), 0);
    }
    CloseHandle(lock);
    EXPECT_EQ(folder.ReadIni(), contents);
}

// The read-only attribute. Wine keeps it in the Unix write bits, and a test
// run as root neither sees the attribute stick nor is refused a write; there
// the program is expected to write as usual. Where the attribute holds, the
// file must be left exactly as it was.
TEST(UnwritableSettings, ReadOnlyFile)
{
    ParkPointer();
    GameFolder folder("settings-read-only");
    const std::string contents = "[Set]\r\nWinX=40\r\nWinY=50\r\nX=13\r\nY=7\r\nBom=9\r\n" + PlayerPart();
    folder.WriteIni(contents);
    SetFileAttributesW(folder.Ini().c_str(), FILE_ATTRIBUTE_READONLY);
    HANDLE writer = CreateFileW(folder.Ini().c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    const bool enforced = writer == INVALID_HANDLE_VALUE;
    if (!enforced)
        CloseHandle(writer);

    int left = 0, top = 0;
    {
        GameRun game(folder);
        ASSERT_TRUE(game.started());
        EXPECT_TRUE(PlaysAsTheRules(game, 13, 7, 9));
        SetWindowPos(game.window(), nullptr, 200, 150, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        const RECT outer = WindowRect(game.window());
        left = outer.left;
        top = outer.top;
        EXPECT_EQ(game.Quit(), 0);
    }
    SetFileAttributesW(folder.Ini().c_str(), FILE_ATTRIBUTE_NORMAL);
    if (enforced) {
        EXPECT_EQ(folder.ReadIni(), contents);
    } else {
        const Values written = ReadBackSettings(folder.Ini());
        EXPECT_EQ(Describe(written), Describe(Values{left, top, 13, 7, 9}));
    }
}

// A folder named like the settings file: nothing to read, nothing can be
// written, the program runs on its defaults and the folder stays a folder.
TEST(UnwritableSettings, SettingsNameIsAFolder)
{
    ParkPointer();
    GameFolder folder("settings-folder");
    ASSERT_TRUE(CreateDirectoryW(folder.Ini().c_str(), nullptr));
    {
        GameRun game(folder);
        ASSERT_TRUE(game.started());
        EXPECT_TRUE(PlaysAsTheRules(game, 10, 5, 10));
        EXPECT_EQ(game.Quit(), 0);
    }
    EXPECT_EQ(GetFileAttributesW(folder.Ini().c_str()) & FILE_ATTRIBUTE_DIRECTORY,
              static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
}

// A read-only program folder. Windows does not stop new files in a folder
// marked read-only, and Wine run as root cannot either: the test finds out
// whether a file can be created there and expects the program to have
// written its settings exactly when it could.
TEST(UnwritableSettings, ReadOnlyFolder)
{
    ParkPointer();
    GameFolder folder("settings-read-only-folder");
    std::wstring directory = folder.path.substr(0, folder.path.size() - 1);
    SetFileAttributesW(directory.c_str(), FILE_ATTRIBUTE_READONLY);
    const std::wstring probe = folder.path + L"probe.txt";
    HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    const bool writable = file != INVALID_HANDLE_VALUE;
    if (writable) {
        CloseHandle(file);
        DeleteFileW(probe.c_str());
    }

    int left = 0, top = 0;
    {
        GameRun game(folder);
        ASSERT_TRUE(game.started());
        EXPECT_TRUE(PlaysAsTheRules(game, 10, 5, 10));
        const RECT outer = WindowRect(game.window());
        left = outer.left;
        top = outer.top;
        EXPECT_EQ(game.Quit(), 0);
    }
    SetFileAttributesW(directory.c_str(), FILE_ATTRIBUTE_NORMAL);
    ASSERT_EQ(folder.HasIni(), writable);
    if (writable) {
        const Values written = ReadBackSettings(folder.Ini());
        EXPECT_EQ(Describe(written), Describe(Values{left, top, 10, 5, 10}));
    }
}
