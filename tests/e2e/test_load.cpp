// Load on the real program: two copies sharing one settings file, a storm of
// random mouse messages compared with the game's own rules run here, and
// the GDI and window resources after thousands of games and dialogs.
#include <gtest/gtest.h>

#include <winternl.h>

#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "tests/e2e/screen_checks.h"
#include "tests/e2e/game_model.h"

namespace {

// Reads the settings file's text and checks it is whole: one "Set" section
// holding each of the five keys once, each a decimal number.
std::string WholeSettingsProblems(const std::string& text)
{
    std::istringstream lines(text);
    std::string line, problems;
    int sections = 0;
    const char* const keys[] = {"WinX", "WinY", "X", "Y", "Bom"};
    int counts[5] = {};
    bool inSet = false;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty() && line[0] == '[') {
            inSet = line == "[Set]";
            sections += inSet;
            continue;
        }
        if (!inSet)
            continue;
        for (int k = 0; k < 5; ++k) {
            const std::string prefix = std::string(keys[k]) + "=";
            if (line.compare(0, prefix.size(), prefix) == 0) {
                ++counts[k];
                const std::string value = line.substr(prefix.size());
                if (value.empty() || value.find_first_not_of("-0123456789") != std::string::npos)
                    problems += line + " is no number; ";
            }
        }
    }
    if (sections != 1)
        problems += std::to_string(sections) + " [Set] sections; ";
    for (int k = 0; k < 5; ++k)
        if (counts[k] != 1)
            problems += std::string(keys[k]) + " appears " + std::to_string(counts[k]) + " times; ";
    return problems;
}

void MoveTo(const GameRun& game, int x, int y)
{
    SetWindowPos(game.window(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Waits until the process shows no dialog or message box any more.
bool WaitForNoPopup(const GameRun& game)
{
    return WaitUntil([&] { return game.NoPopup(); }, 5000);
}

// The settings dialog with three new values, ended with OK.
::testing::AssertionResult ChangeBoard(const GameRun& game, int columns, int rows, int bombs)
{
    game.MenuCommand(IDM_SETTINGS);
    HWND dialog = game.WaitForPopup();
    if (!dialog)
        return ::testing::AssertionFailure() << "no settings dialog";
    SetDlgItemInt(dialog, IDC_COLUMNS, static_cast<UINT>(columns), FALSE);
    SetDlgItemInt(dialog, IDC_ROWS, static_cast<UINT>(rows), FALSE);
    SetDlgItemInt(dialog, IDC_BOMBS, static_cast<UINT>(bombs), FALSE);
    PressButton(dialog, IDOK);
    if (!WaitForNoPopup(game))
        return ::testing::AssertionFailure() << "the dialog did not close";
    return ::testing::AssertionSuccess();
}

// The GDI objects a process holds, counted in its GDI handle table (the
// table the process environment block points to; an entry is in use while
// its type byte, at offset 14 of 24, is set). Wine's GetGuiResources always
// answers 0, so this is what can be observed of a running program there.
int GdiObjectsOf(HANDLE process)
{
    using QueryProcess = NTSTATUS(WINAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
    auto query = reinterpret_cast<QueryProcess>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION basic = {};
    ULONG length = 0;
    if (!query || query(process, ProcessBasicInformation, &basic, sizeof basic, &length) != 0)
        return -1;
    unsigned long long table = 0;
    SIZE_T got = 0;
    if (!ReadProcessMemory(process, reinterpret_cast<char*>(basic.PebBaseAddress) + 0xF8, &table, sizeof table,
                           &got) ||
        table == 0)
        return -1;
    constexpr size_t Entries = 0x10000, EntrySize = 24;
    std::vector<unsigned char> entries(Entries * EntrySize);
    if (!ReadProcessMemory(process, reinterpret_cast<void*>(table), entries.data(), entries.size(), &got))
        return -1;
    int used = 0;
    for (size_t i = 0; i < Entries; ++i)
        used += entries[i * EntrySize + 14] != 0;
    return used;
}

BOOL CALLBACK CountChild(HWND, LPARAM data)
{
    ++*reinterpret_cast<int*>(data);
    return TRUE;
}

// Windows of the process, hidden ones and children included: the USER
// objects that can be seen from outside.
int WindowsOf(DWORD processId)
{
    int count = 0;
    for (HWND window : WindowsOfProcess(processId)) {
        ++count;
        EnumChildWindows(window, CountChild, reinterpret_cast<LPARAM>(&count));
    }
    return count;
}

struct Resources {
    int gdi, windows;
    DWORD guiGdi, guiUser;
};

Resources ResourcesOf(const GameRun& game, HANDLE process)
{
    return {GdiObjectsOf(process), WindowsOf(game.processId()), GetGuiResources(process, GR_GDIOBJECTS),
            GetGuiResources(process, GR_USEROBJECTS)};
}

std::string Show(const Resources& r)
{
    return "GDI table " + std::to_string(r.gdi) + ", windows " + std::to_string(r.windows) +
           ", GetGuiResources GDI " + std::to_string(r.guiGdi) + " USER " + std::to_string(r.guiUser);
}

// Random mouse messages, the same for the window and the model; a new game
// now and then keeps the storm from ending in one finished game. Checks the
// screen every `checkEvery` messages.
::testing::AssertionResult Storm(const GameRun& game, int count, unsigned seed, int checkEvery)
{
    static const UINT messages[] = {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN, WM_RBUTTONUP};
    static const unsigned buttons[] = {0, MK_LBUTTON, MK_RBUTTON, MK_LBUTTON | MK_RBUTTON};
    std::mt19937 random(seed);
    const int width = ClientWidth(columns) + 40, height = ClientHeight(rows) + 40;
    for (int i = 1; i <= count; ++i) {
        const UINT message = messages[random() % 5];
        const unsigned held = buttons[random() % 4];
        int x, y;
        if (random() % 4 == 0) {
            x = static_cast<int>(random() % 65536);
            y = static_cast<int>(random() % 65536);
        } else {
            x = static_cast<int>(random() % static_cast<unsigned>(width));
            y = static_cast<int>(random() % static_cast<unsigned>(height));
        }
        game.Send(message, held, x, y);
        model::Mouse(message, held, x, y);
        if (i % 1500 == 0) {
            SendMessageW(game.window(), WM_COMMAND, IDM_NEWGAME, 0);
            NewGame();
        }
        if (i % checkEvery == 0) {
            ::testing::AssertionResult same = Shows(game, model::Shown());
            if (!same)
                return same << "after message " << i;
        }
    }
    return ::testing::AssertionSuccess();
}

}  // namespace

// Two copies in one folder, each moved elsewhere and one with a new board:
// whichever ends last decides the file, which stays whole.
TEST(TwoCopies, TheOneEndingLastDecidesTheFile)
{
    for (int lastIsSecond = 0; lastIsSecond < 2; ++lastIsSecond) {
        SCOPED_TRACE(lastIsSecond ? "second copy ends last" : "first copy ends last");
        ParkPointer();
        GameFolder folder("two-copies");
        folder.WriteIni("[Set]\r\nWinX=10\r\nWinY=10\r\nX=10\r\nY=5\r\nBom=10\r\n");
        GameRun first(folder);
        GameRun second(folder);
        ASSERT_TRUE(first.started());
        ASSERT_TRUE(second.started());
        ASSERT_NE(first.processId(), second.processId());
        MoveTo(first, 100, 120);
        MoveTo(second, 420, 300);
        ASSERT_TRUE(ChangeBoard(second, 12, 6, 8));
        ASSERT_TRUE(Shows(second, UniformScreen(12, 6, 0, 8)));
        // Both still play: an open in each.
        model::Start(10, 5, 10);
        model::ClickBoth(first, 0, 0);
        EXPECT_TRUE(Shows(first, model::Shown()));
        model::Start(12, 6, 8);
        model::ClickBoth(second, 0, 0);
        EXPECT_TRUE(Shows(second, model::Shown()));

        GameRun& early = lastIsSecond ? first : second;
        GameRun& late = lastIsSecond ? second : first;
        ASSERT_EQ(early.Quit(), 0);
        ASSERT_EQ(late.Quit(), 0);

        const std::string text = folder.ReadIni();
        EXPECT_EQ(WholeSettingsProblems(text), "") << text;
        const std::string expected = lastIsSecond ? "WinX=420\r\nWinY=300\r\nX=12\r\nY=6\r\nBom=8\r\n"
                                                  : "WinX=100\r\nWinY=120\r\nX=10\r\nY=5\r\nBom=10\r\n";
        EXPECT_NE(text.find(expected), std::string::npos) << text;
    }
}

struct StormBoard {
    int columns, rows, bombs;
};

class MouseStorm : public ::testing::TestWithParam<StormBoard> {};

TEST_P(MouseStorm, ScreenFollowsTheGamesOwnRules)
{
    const StormBoard board = GetParam();
    ParkPointer();
    GameFolder folder("storm");
    folder.WriteIni("[Set]\r\nX=" + std::to_string(board.columns) + "\r\nY=" + std::to_string(board.rows) +
                    "\r\nBom=" + std::to_string(board.bombs) + "\r\n");
    GameRun game(folder);
    ASSERT_TRUE(game.started());
    model::Start(board.columns, board.rows, board.bombs);
    ASSERT_TRUE(Shows(game, model::Shown()));
    ASSERT_TRUE(Storm(game, 10000, 20240607u, 1000));
    EXPECT_TRUE(game.NoPopup());
    EXPECT_EQ(game.Quit(), 0);
}

INSTANTIATE_TEST_SUITE_P(Boards, MouseStorm, ::testing::Values(StormBoard{10, 5, 10}, StormBoard{36, 24, 130}),
                         [](const ::testing::TestParamInfo<StormBoard>& info) {
                             return std::to_string(info.param.columns) + "x" + std::to_string(info.param.rows);
                         });

// The count of GDI objects is read for real: it follows this process's own
// bitmaps one for one.
TEST(Resources, GdiCountFollowsObjects)
{
    const int before = GdiObjectsOf(GetCurrentProcess());
    ASSERT_GT(before, 0);
    HBITMAP bitmaps[10];
    for (HBITMAP& bitmap : bitmaps)
        bitmap = CreateBitmap(4, 4, 1, 32, nullptr);
    EXPECT_EQ(GdiObjectsOf(GetCurrentProcess()), before + 10);
    for (HBITMAP bitmap : bitmaps)
        DeleteObject(bitmap);
    EXPECT_EQ(GdiObjectsOf(GetCurrentProcess()), before);
}

// Reads the resources once the program is idle again: objects that painting
// and dialogs hold for a moment (an update region, a dialog being torn down)
// go away, leaked ones stay. Polls up to two seconds for `expected`.
Resources SettledResources(const GameRun& game, HANDLE process, const Resources& expected)
{
    Resources now;
    WaitUntil(
        [&] {
            now = ResourcesOf(game, process);
            return Show(now) == Show(expected);
        },
        2000);
    return now;
}

// Settings dialogs, each ended with OK or Cancel.
::testing::AssertionResult DialogRoundTrips(const GameRun& game, int count)
{
    for (int i = 0; i < count; ++i) {
        game.MenuCommand(IDM_SETTINGS);
        HWND dialog = game.WaitForPopup();
        if (!dialog)
            return ::testing::AssertionFailure() << "no dialog " << i;
        PressButton(dialog, i % 2 ? IDCANCEL : IDOK);
        if (!WaitForNoPopup(game))
            return ::testing::AssertionFailure() << "dialog " << i << " did not close";
        if (i % 2 == 0)
            NewGame();  // OK with the values unchanged starts a new game
    }
    return ::testing::AssertionSuccess();
}

// New games, settings dialogs and a mouse storm create nothing that stays.
// The platform's dialog machinery keeps a few objects over its first dialogs
// (fonts and brushes it caches: about sixty under Wine, and in a fresh Wine
// prefix up to twenty more over the next dialogs), so dialogs are measured
// after thirty warm-up ones, and seventy more (a hundred in all) must add
// fewer than thirty objects: a leak of one object on either the OK or the
// Cancel road alone adds thirty-five.
TEST(Resources, SameAfterGamesDialogsAndStorm)
{
    ParkPointer();
    GameFolder folder("resources");
    GameRun game(folder);
    ASSERT_TRUE(game.started());
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, game.processId());
    ASSERT_NE(process, nullptr);
    model::Start(10, 5, 10);
    ASSERT_TRUE(Shows(game, model::Shown()));
    const Resources first = SettledResources(game, process, ResourcesOf(game, process));
    ASSERT_GT(first.gdi, 0) << Show(first);
    ASSERT_GT(first.windows, 0) << Show(first);

    for (int i = 0; i < 1000; ++i) {
        SendMessageW(game.window(), WM_COMMAND, IDM_NEWGAME, 0);
        NewGame();
    }
    ASSERT_TRUE(Shows(game, model::Shown()));
    EXPECT_EQ(Show(SettledResources(game, process, first)), Show(first)) << "after 1000 new games";

    ASSERT_TRUE(DialogRoundTrips(game, 30));
    Resources expected = first;
    expected.gdi = -1;  // only the window count is known in advance
    const Resources warm = SettledResources(game, process, expected);
    EXPECT_EQ(warm.windows, first.windows) << "dialogs left windows behind";
    ASSERT_TRUE(DialogRoundTrips(game, 70));
    const Resources after = SettledResources(game, process, warm);
    EXPECT_EQ(after.windows, warm.windows) << "after 100 settings dialogs";
    EXPECT_LT(after.gdi - warm.gdi, 30) << "after 100 settings dialogs: " << Show(after) << ", before: " << Show(warm);

    ASSERT_TRUE(Storm(game, 10000, 77u, 5000));
    EXPECT_EQ(Show(SettledResources(game, process, after)), Show(after)) << "after the mouse storm";
    CloseHandle(process);
    EXPECT_EQ(game.Quit(), 0);
}
