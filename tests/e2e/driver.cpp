#include "tests/e2e/driver.h"

#include <tlhelp32.h>

#include <cstdio>
#include <cstring>
#include <utility>
#include <fstream>
#include <iterator>

#include "render/counter_digits.h"
#include "core/draw.h"
#include "tests/support/tile_letters.h"

namespace {

constexpr int TileSize = SquareSize;

std::wstring FromUtf8(const std::string& text)
{
    if (text.empty())
        return std::wstring();
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, &wide[0], length);
    wide.resize(static_cast<size_t>(length) - 1);
    return wide;
}

// A path of the build machine (Unix, seen by Wine as drive Z:) as Windows sees it.
std::wstring WindowsPath(const char* unixPath)
{
    std::wstring path = L"Z:" + FromUtf8(unixPath);
    for (wchar_t& c : path)
        if (c == L'/')
            c = L'\\';
    return path;
}

// Reads the generated 8-bit strip file into a picture.
Picture LoadStrip(const std::wstring& path)
{
    std::ifstream file(path.c_str(), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (bytes.size() < 54)
        return Picture();
    unsigned dataOffset = 0;
    std::memcpy(&dataOffset, bytes.data() + 10, sizeof dataOffset);
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    return DecodeEightBitDib(data + 14, data + dataOffset);
}

bool BlockEquals(const Picture& picture, int x, int y, const Picture& strip, int tile)
{
    for (int dy = 0; dy < TileSize; ++dy)
        for (int dx = 0; dx < TileSize; ++dx)
            if (picture.At(x + dx, y + dy) != strip.At(TileSize * tile + dx, dy))
                return false;
    return true;
}

BOOL CALLBACK CollectWindowOf(HWND window, LPARAM data)
{
    auto* search = reinterpret_cast<std::pair<DWORD, std::vector<HWND>>*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->first)
        search->second.push_back(window);
    return TRUE;
}

// The counter cell's tile as the character of the value it reads. The blank
// sign and the digit 1 look exactly like tiles 3 and 4, which a reading of the
// pixels finds first.
char CounterLetter(int tile)
{
    if (tile == TileCounterBlank || tile == TileOpenedEmpty)
        return ' ';
    if (tile == TileOpenedOne)
        return '1';
    if (tile == TileCounterMinus)
        return '-';
    return tile >= TileCounterZero && tile < TileCounterZero + 10 ? static_cast<char>('0' + tile - TileCounterZero)
                                                                    : '!';
}

}  // namespace

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs)
{
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start >= static_cast<DWORD>(timeoutMs))
            return condition();
        PumpMessages(15);
    }
    return true;
}

void PumpMessages(int ms)
{
    const DWORD start = GetTickCount();
    do {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    } while (GetTickCount() - start < static_cast<DWORD>(ms));
}

int DisplayZoom()
{
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    // Windows' scales of 100 %, 125 %, 150 % and 200 %.
    switch (dpi) {
    case 96:
    case 120:
        return 1;
    case 144:
    case 192:
        return 2;
    default:
        return 0;
    }
}

std::vector<HWND> WindowsOfProcess(DWORD processId)
{
    std::pair<DWORD, std::vector<HWND>> search(processId, {});
    EnumWindows(CollectWindowOf, reinterpret_cast<LPARAM>(&search));
    return search.second;
}

std::vector<std::wstring> LoadedModules(DWORD processId)
{
    std::vector<std::wstring> names;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, processId);
    if (snapshot == INVALID_HANDLE_VALUE)
        return names;
    MODULEENTRY32W module = {};
    module.dwSize = sizeof module;
    for (BOOL more = Module32FirstW(snapshot, &module); more; more = Module32NextW(snapshot, &module)) {
        std::wstring name = module.szModule;
        CharLowerW(&name[0]);
        names.push_back(name);
    }
    CloseHandle(snapshot);
    return names;
}

const Picture& BuiltInStrip()
{
    static const Picture strip = LoadStrip(WindowsPath(TILES_BMP_PATH));
    return strip;
}

int TileAt(const Picture& picture, int x, int y, const Picture& strip)
{
    if (x < 0 || y < 0 || x + TileSize > picture.width || y + TileSize > picture.height)
        return -1;
    for (int tile = 0; tile < TileCount; ++tile)
        if (BlockEquals(picture, x, y, strip, tile))
            return tile;
    return -1;
}

Screen ReadScreen(const Picture& picture, int columns, int rows)
{
    Screen screen;
    screen.columns = columns;
    screen.rows = rows;
    screen.squares.assign(static_cast<size_t>(columns) * rows, -1);
    for (int column = 0; column < columns; ++column)
        for (int row = 0; row < rows; ++row)
            screen.squares[static_cast<size_t>(column) * rows + row] =
                TileAt(picture, SquareLeft(column), SquareTop(row));
    for (int cell = 0; cell < 4; ++cell)
        screen.counter[cell] = TileAt(picture, TileSize * cell, 0);
    const int counterWidth = CounterCells * TileSize;
    screen.blackRightOfCounter = picture.width >= counterWidth;
    for (int y = 0; y < CounterStripHeight && y < picture.height; ++y)
        for (int x = counterWidth; x < picture.width; ++x)
            if (picture.At(x, y) != 0)
                screen.blackRightOfCounter = false;
    return screen;
}


Screen& Screen::Counter(int value)
{
    CounterTiles(value, counter);
    return *this;
}

Screen ScreenOf(const char* const* pictureRows, int rowCount, int counter)
{
    const int columnCount = static_cast<int>(std::strlen(pictureRows[0]));
    Screen screen = UniformScreen(columnCount, rowCount, -1, counter);
    for (int row = 0; row < rowCount; ++row)
        for (int column = 0; column < columnCount && pictureRows[row][column]; ++column)
            screen.Set(column, row, TileOfLetter(pictureRows[row][column]));
    return screen;
}

Screen ScreenOf(std::initializer_list<const char*> pictureRows, int counter)
{
    return ScreenOf(pictureRows.begin(), static_cast<int>(pictureRows.size()), counter);
}

Screen Pressed(Screen screen, std::initializer_list<std::pair<int, int>> squares)
{
    for (const std::pair<int, int>& square : squares)
        screen.Set(square.first, square.second, TileOpenedEmpty);
    return screen;
}

std::string Describe(const Screen& screen)
{
    std::string text = "counter:";
    for (int tile : screen.counter)
        text += CounterLetter(tile);
    text += '\n';
    for (int row = 0; row < screen.rows; ++row) {
        for (int column = 0; column < screen.columns; ++column)
            text += TileLetter(SameLookingTile(screen.Square(column, row)));
        text += '\n';
    }
    return text;
}

GameFolder::GameFolder(const char* name)
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    static int counter = 0;
    wchar_t unique[64];
    swprintf(unique, 64, L"%lu-%lu-%d", GetCurrentProcessId(), GetTickCount(), ++counter);
    std::wstring base = std::wstring(temp) + L"tsweeper-e2e\\";
    CreateDirectoryW(base.c_str(), nullptr);
    path = base + FromUtf8(name) + L"-" + unique + L"\\";
    CreateDirectoryW(path.c_str(), nullptr);
    // Wine now and then refuses a copy or a start for a moment while another
    // program of the same run is still ending: try again before giving up.
    WaitUntil([this] { return CopyFileW(WindowsPath(TSWEEPER_EXE_PATH).c_str(), Exe().c_str(), FALSE) != 0; },
              3000);
    DeleteFileW(Ini().c_str());
}

std::wstring GameFolder::Ini() const
{
    return path + FromUtf8(SettingsFileName);
}

void GameFolder::WriteIni(const std::string& contents) const
{
    std::ofstream file(Ini().c_str(), std::ios::binary);
    file << contents;
}

bool GameFolder::HasIni() const
{
    return GetFileAttributesW(Ini().c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string GameFolder::ReadIni() const
{
    std::ifstream file(Ini().c_str(), std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

int GameFolder::IniInt(const char* key, int fallback, const char* section) const
{
    // Wide, so that a folder of any name is read on a system of any code page.
    return static_cast<int>(
        GetPrivateProfileIntW(FromUtf8(section).c_str(), FromUtf8(key).c_str(), fallback, Ini().c_str()));
}

GameRun::GameRun(const std::wstring& folder, const std::wstring& program, int showCommand,
                 const std::wstring& currentDirectory, int zoom)
    : zoom_(zoom)
{
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    if (showCommand >= 0) {
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = static_cast<WORD>(showCommand);
    }
    const std::wstring exe = folder + program;
    std::wstring commandLine = L"\"" + exe + L"\"";
    const std::wstring& directory = currentDirectory.empty() ? folder : currentDirectory;
    const bool created = WaitUntil(
        [&] {
            if (CreateProcessW(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, directory.c_str(),
                               &startup, &process_))
                return true;
            startError_ = GetLastError();
            return false;
        },
        3000);
    if (!created) {
        ended_ = true;
        return;
    }
    WaitForInputIdle(process_.hProcess, 10000);
    WaitUntil(
        [this] {
            for (HWND window : WindowsOfProcess(process_.dwProcessId)) {
                char className[32];
                GetClassNameA(window, className, sizeof className);
                if (lstrcmpA(className, "tsweep") == 0)
                    window_ = window;
            }
            return window_ != nullptr;
        },
        10000);
    if (!window_ || IsIconic(window_))
        return;
    // The first board: every square covered, the counter drawn.
    WaitUntil(
        [this] {
            const Screen screen = CurrentScreen();
            bool drawn = screen.counter[0] >= 0;
            for (int tile : screen.squares)
                drawn = drawn && tile == TileCovered;
            return drawn;
        },
        5000);
}

GameRun::~GameRun()
{
    if (!ended_ && process_.hProcess) {
        TerminateProcess(process_.hProcess, 1);
        WaitForSingleObject(process_.hProcess, 5000);
    }
    if (process_.hProcess) {
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
    }
}

Picture GameRun::Capture() const
{
    return CaptureClient(window_);
}

int GameRun::Columns() const
{
    RECT client;
    GetClientRect(window_, &client);
    return ColumnAtX(static_cast<unsigned>(client.right / zoom_));
}

int GameRun::Rows() const
{
    RECT client;
    GetClientRect(window_, &client);
    return RowAtY(static_cast<unsigned>(client.bottom / zoom_));
}

Picture ArtPixels(const Picture& shown, int zoom)
{
    if (zoom == 1)
        return shown;
    constexpr std::uint32_t Mixed = 0xFF000000;  // beyond 0x00RRGGBB: no tile's colour
    Picture art(shown.width / zoom, shown.height / zoom);
    for (int y = 0; y < art.height; ++y) {
        for (int x = 0; x < art.width; ++x) {
            const std::uint32_t colour = shown.At(zoom * x, zoom * y);
            bool same = true;
            for (int dy = 0; dy < zoom; ++dy)
                for (int dx = 0; dx < zoom; ++dx)
                    same = same && shown.At(zoom * x + dx, zoom * y + dy) == colour;
            art.Set(x, y, same ? colour : Mixed);
        }
    }
    return art;
}

Screen GameRun::CurrentScreen() const
{
    return ReadScreen(ArtPixels(Capture(), zoom_), Columns(), Rows());
}

int SameLookingTile(int tile)
{
    if (tile == 27)
        return 3;
    if (tile == 17)
        return 4;
    return tile;
}

static bool SameScreen(const Screen& a, const Screen& b)
{
    if (a.columns != b.columns || a.rows != b.rows || a.squares.size() != b.squares.size())
        return false;
    for (size_t i = 0; i < a.squares.size(); ++i)
        if (SameLookingTile(a.squares[i]) != SameLookingTile(b.squares[i]))
            return false;
    for (int cell = 0; cell < 4; ++cell)
        if (SameLookingTile(a.counter[cell]) != SameLookingTile(b.counter[cell]))
            return false;
    return true;
}

Screen GameRun::WaitForScreen(const Screen& expected, int timeoutMs) const
{
    Screen screen;
    WaitUntil(
        [&] {
            screen = CurrentScreen();
            return SameScreen(screen, expected);
        },
        timeoutMs);
    return screen;
}

Screen GameRun::SettledScreen() const
{
    Sleep(300);
    RedrawWindow(window_, nullptr, nullptr, RDW_UPDATENOW);
    Sleep(300);
    return CurrentScreen();
}

void GameRun::Send(UINT message, unsigned buttons, int x, int y) const
{
    SendMessageW(window_, message, buttons, MAKELPARAM(x, y));
}

void GameRun::ClickSquare(int column, int row) const
{
    const int x = zoom_ * SquareX(column), y = zoom_ * SquareY(row);
    Send(WM_MOUSEMOVE, 0, x, y);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, x, y);
    Send(WM_LBUTTONUP, 0, x, y);
}

void GameRun::RightPressSquare(int column, int row) const
{
    const int x = zoom_ * SquareX(column), y = zoom_ * SquareY(row);
    Send(WM_MOUSEMOVE, 0, x, y);
    Send(WM_RBUTTONDOWN, MK_RBUTTON, x, y);
    Send(WM_RBUTTONUP, 0, x, y);
}

void GameRun::MenuCommand(WORD command) const
{
    PostMessageW(window_, WM_COMMAND, command, 0);
}

std::vector<HWND> GameRun::Popups() const
{
    std::vector<HWND> popups;
    for (HWND window : WindowsOfProcess(process_.dwProcessId))
        if (window != window_ && IsWindowVisible(window))
            popups.push_back(window);
    return popups;
}

HWND GameRun::WaitForPopup(int timeoutMs) const
{
    HWND popup = nullptr;
    WaitUntil(
        [&] {
            const std::vector<HWND> popups = Popups();
            popup = popups.empty() ? nullptr : popups.front();
            return popup != nullptr;
        },
        timeoutMs);
    return popup;
}

int GameRun::WaitForExit(int timeoutMs)
{
    if (WaitForSingleObject(process_.hProcess, static_cast<DWORD>(timeoutMs)) != WAIT_OBJECT_0)
        return -1;
    ended_ = true;
    DWORD code = 0;
    GetExitCodeProcess(process_.hProcess, &code);
    return static_cast<int>(code);
}

int GameRun::Quit(WORD viaCommand)
{
    MenuCommand(viaCommand);
    return WaitForExit();
}

int GameRun::CloseBox()
{
    PostMessageW(window_, WM_SYSCOMMAND, SC_CLOSE, 0);
    return WaitForExit();
}

std::string Describe(const SettingsValues& values)
{
    return "WinX " + std::to_string(values.windowX) + ", WinY " + std::to_string(values.windowY) + ", X " +
           std::to_string(values.columns) + ", Y " + std::to_string(values.rows) + ", Bom " +
           std::to_string(values.bombs);
}

SettingsValues ReadBackSettings(const std::wstring& ini, bool defaultsForMissing)
{
    static int copies = 0;
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring copy = std::wstring(temp) + L"tsweeper-read-back-" + std::to_wstring(GetCurrentProcessId()) +
                              L"-" + std::to_wstring(++copies) + L".ini";
    CopyFileW((L"\\\\?\\" + ini).c_str(), copy.c_str(), FALSE);
    const auto read = [&](const char* key, int fallback) {
        return static_cast<int>(GetPrivateProfileIntW(FromUtf8(SettingsSection).c_str(), FromUtf8(key).c_str(),
                                                      defaultsForMissing ? fallback : -99999, copy.c_str()));
    };
    const SettingsValues values = {read(WindowXKey, DefaultWindowX), read(WindowYKey, DefaultWindowY),
                                   read(ColumnsKey, DefaultColumns), read(RowsKey, DefaultRows),
                                   read(BombsKey, DefaultBombs)};
    DeleteFileW(copy.c_str());
    return values;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::string line;
    for (char c : text) {
        if (c == '\n') {
            lines.push_back(line);
            line.clear();
        } else if (c != '\r') {
            line += c;
        }
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

std::wstring WindowText(HWND window)
{
    wchar_t text[1024];
    text[0] = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_BLOCK, 2000,
                        nullptr);
    return text;
}

std::wstring ItemText(HWND dialog, int item)
{
    return WindowText(GetDlgItem(dialog, item));
}

std::wstring MessageBoxText(HWND box)
{
    return ItemText(box, 0xFFFF);
}

void PressButton(HWND dialog, int button)
{
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
}

std::wstring Wide(const char* utf8)
{
    return FromUtf8(utf8);
}

std::string Utf8(const std::wstring& text)
{
    if (text.empty())
        return std::string();
    const int length = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &narrow[0], length, nullptr, nullptr);
    narrow.resize(static_cast<size_t>(length) - 1);
    return narrow;
}

void ParkPointer()
{
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 2, GetSystemMetrics(SM_CYSCREEN) - 2);
}

Screen UniformScreen(int columns, int rows, int tile, int counter)
{
    Screen screen;
    screen.columns = columns;
    screen.rows = rows;
    screen.squares.assign(static_cast<size_t>(columns) * rows, tile);
    CounterTiles(counter, screen.counter);
    return screen;
}

RECT WindowRect(HWND window)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

RECT ClientRect(HWND window)
{
    RECT rect = {};
    GetClientRect(window, &rect);
    return rect;
}
