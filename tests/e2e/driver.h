// Drives the real tsweeper.exe from outside, as the player's system sees it:
// starts it in a fresh folder, finds its window, sends it mouse and menu
// messages, reads its client-area pixels back as tiles, works its dialog and
// message boxes, and reads its settings file.
#pragma once

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "core/geometry.h"
#include "core/settings.h"
#include "core/draw.h"
#include "resources/resource.h"
#include "tests/win/picture.h"

// Polls `condition` until it holds or `timeoutMs` has passed; true when it
// held. The one way the tests wait for the program. It handles this
// thread's messages meanwhile, so that events from the program arrive.
bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 3000);
// Handles this thread's messages for `ms` milliseconds.
void PumpMessages(int ms);

// The whole-number zoom that a player gets at the display's DPI (100 %, 125 %
// 150 % and 200 %), or 0 for a DPI that the tests do not know.
int DisplayZoom();

// Every top-level window of a process, hidden ones included: the one window
// search of the tests.
std::vector<HWND> WindowsOfProcess(DWORD processId);

// The file names of the modules loaded in a process, lower case; empty when
// they could not be read.
std::vector<std::wstring> LoadedModules(DWORD processId);

// The 28 tiles of the built-in strip, read from the generated bitmap.
const Picture& BuiltInStrip();

// The tile of the strip that the 16 x 16 block at (x, y) shows exactly, or -1.
int TileAt(const Picture& picture, int x, int y, const Picture& strip = BuiltInStrip());

// What a player sees: the tile of every square and of the four counter cells.
struct Screen {
    int columns = 0;
    int rows = 0;
    std::vector<int> squares;  // column-major like the board: [column * rows + row]
    int counter[4] = {-1, -1, -1, -1};
    bool blackRightOfCounter = false;
    int Square(int column, int row) const { return squares[static_cast<size_t>(column) * rows + row]; }
    // For building an expected screen step by step.
    Screen& Set(int column, int row, int tile)
    {
        squares[static_cast<size_t>(column) * rows + row] = tile;
        return *this;
    }
    Screen& Counter(int value);
};
Screen ReadScreen(const Picture& picture, int columns, int rows);
// The game's pixels in a picture that shows each as a zoom x zoom block; a
// block that is not one colour gives a pixel that no tile has.
Picture ArtPixels(const Picture& shown, int zoom);
// A screen from rows in the letters of tests/support/tile_letters.h, with
// the counter showing `counter`.
Screen ScreenOf(std::initializer_list<const char*> pictureRows, int counter);
Screen ScreenOf(const char* const* pictureRows, int rowCount, int counter);
// `screen` with the given squares (column, row) showing pressed.
Screen Pressed(Screen screen, std::initializer_list<std::pair<int, int>> squares);
// Tiles 27 and 17 look exactly like 3 and 4: pixels cannot tell them apart.
int SameLookingTile(int tile);
// The screen drawn as text, one character per square, for failure messages.
std::string Describe(const Screen& screen);

// A fresh folder for one run of the game, holding its own tsweeper.exe.
struct GameFolder {
    std::wstring path;  // with a trailing backslash
    explicit GameFolder(const char* name);
    std::wstring Exe() const { return path + L"tsweeper.exe"; }
    std::wstring Ini() const;
    void WriteIni(const std::string& contents) const;
    bool HasIni() const;
    std::string ReadIni() const;
    // GetPrivateProfileIntA on the settings file; `fallback` when missing.
    int IniInt(const char* key, int fallback = -99999, const char* section = SettingsSection) const;
};

class GameRun {
public:
    // Starts `program` from `folder` (with its trailing backslash) and waits
    // for its window and the first painted board. The current directory is
    // the folder unless another is given (Wine cannot take one beyond
    // MAX_PATH); showCommand is passed through STARTUPINFO.
    // On a display above 96 DPI the window shows each pixel of the game as a
    // `zoom` x `zoom` block: the screens read and the squares clicked below
    // follow it.
    GameRun(const std::wstring& folder, const std::wstring& program, int showCommand = -1,
            const std::wstring& currentDirectory = std::wstring(), int zoom = 1);
    explicit GameRun(const GameFolder& folder, int showCommand = -1, int zoom = 1)
        : GameRun(folder.path, L"tsweeper.exe", showCommand, std::wstring(), zoom)
    {
    }
    ~GameRun();
    GameRun(const GameRun&) = delete;
    GameRun& operator=(const GameRun&) = delete;

    HWND window() const { return window_; }
    HANDLE process() const { return process_.hProcess; }
    DWORD processId() const { return process_.dwProcessId; }
    bool started() const { return window_ != nullptr; }
    // Why the program did not start: the system's error of the last try at
    // starting it, or 0 when it started and showed no window.
    DWORD startError() const { return startError_; }

    // The client area's pixels as they are on the screen now, one per
    // screen pixel.
    Picture Capture() const;
    // Polls until the screen equals `expected` (tiles and counter), or the
    // time runs out; returns the last screen read.
    Screen WaitForScreen(const Screen& expected, int timeoutMs = 3000) const;
    Screen CurrentScreen() const;
    // The screen once any pending repaint has reached it, for steps that
    // must change nothing.
    Screen SettledScreen() const;
    // The board size the client area shows at the zoom.
    int Columns() const;
    int Rows() const;

    // Mouse messages, sent and handled before these return.
    void Send(UINT message, unsigned buttons, int x, int y) const;
    // A left click (press and release) on the centre of square (column, row).
    void ClickSquare(int column, int row) const;
    void RightPressSquare(int column, int row) const;
    void MenuCommand(WORD command) const;  // posted, as the menu does

    // The visible top-level windows of the process other than the main
    // window: message boxes and the settings dialog.
    std::vector<HWND> Popups() const;
    // One of them, waited for up to timeoutMs.
    HWND WaitForPopup(int timeoutMs = 5000) const;
    bool NoPopup() const { return Popups().empty(); }

    // Ends with the close box / menu command road and returns the exit code,
    // or -1 when the process did not end in time.
    int Quit(WORD viaCommand = IDM_EXIT);
    int CloseBox();
    int WaitForExit(int timeoutMs = 10000);

private:
    PROCESS_INFORMATION process_ = {};
    HWND window_ = nullptr;
    bool ended_ = false;
    DWORD startError_ = 0;
    int zoom_ = 1;
};

// The five settings values in the file's order.
struct SettingsValues {
    int windowX, windowY, columns, rows, bombs;
};
std::string Describe(const SettingsValues& values);
// The values as the platform's profile functions read them: a missing key
// as -99999, or as the program's default when `defaultsForMissing`. They
// read a private copy of `ini`, which keeps this process's profile cache out
// of the way and reaches a file whose path is too long for them.
SettingsValues ReadBackSettings(const std::wstring& ini, bool defaultsForMissing = false);

// A text file's lines, without their line ends.
std::vector<std::string> Lines(const std::string& text);

// A window's rectangle on the screen, and its client rectangle.
RECT WindowRect(HWND window);
RECT ClientRect(HWND window);

// Text of a window and of one of its controls, as UTF-16.
std::wstring WindowText(HWND window);
std::wstring ItemText(HWND dialog, int item);
// A message box's text (its static control 0xFFFF).
std::wstring MessageBoxText(HWND box);
// Presses a button of a dialog or message box as a click would.
void PressButton(HWND dialog, int button);

// UTF-8 and UTF-16, for comparing texts read back from the program.
std::wstring Wide(const char* utf8);
std::string Utf8(const std::wstring& text);

// Moves the real pointer out of the way of posted mouse messages.
void ParkPointer();

// Screen with every square `tile` and the counter showing `counter`.
Screen UniformScreen(int columns, int rows, int tile, int counter);

// The square's centre in client pixels.
inline int SquareX(int column) { return SquareLeft(column) + SquareSize / 2; }
inline int SquareY(int row) { return SquareTop(row) + SquareSize / 2; }
