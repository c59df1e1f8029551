// The drawing on the real GDI: the screen-sized back buffer, DrawTile and
// DrawCounter, the repaint of the window from the back buffer, and the
// choice of the tile strip at start-up.
//
// Each test gets a window of its own class whose creation builds the back
// buffer and whose paint copies from it, as the main window does. It stays
// hidden unless a test looks at invalidation or at the screen: a hidden
// window keeps no update region. Pixels are
// read back through a 32-bit DIB section and compared with pictures that the
// tests work out on their own: the built-in strip is decoded from the raw
// bytes of bitmap resource 101, and replacement strips are BMP files that
// the tests write, with a colour of their own for every pixel.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/settings_file.h"
#include "app/shell_state.h"
#include "core/board.h"
#include "core/geometry.h"
#include "render/back_buffer.h"
#include "render/counter_digits.h"
#include "core/draw.h"
#include "render/tile_strip.h"
#include "resources/resource.h"
#include "tests/support/bmp_file.h"
#include "tests/support/counter_cases.h"
#include "tests/win/picture.h"

namespace {

constexpr int Tile = SquareSize;
constexpr int Tiles = TileCount;
constexpr int LargestClientWidth = ClientWidth(MaxColumns);    // 576
constexpr int LargestClientHeight = ClientHeight(MaxRows);     // 400
constexpr std::uint32_t BlackPixel = 0x000000;

// ---------------------------------------------------------------- pictures

std::string Hex(std::uint32_t colour)
{
    char text[16];
    std::snprintf(text, sizeof text, "#%06X", static_cast<unsigned>(colour));
    return text;
}

std::string RectText(const RECT& r)
{
    return "{" + std::to_string(r.left) + "," + std::to_string(r.top) + "," +
           std::to_string(r.right) + "," + std::to_string(r.bottom) + "}";
}

int ScreenWidth() { return GetSystemMetrics(SM_CXSCREEN); }
int ScreenHeight() { return GetSystemMetrics(SM_CYSCREEN); }

Picture GrabBackBuffer() { return Grab(backBufferDC, 0, 0, ScreenWidth(), ScreenHeight()); }

// The window's own pixels, as painted.
Picture GrabWindow(HWND window, int width, int height)
{
    HDC dc = GetDC(window);
    Picture picture = Grab(dc, 0, 0, width, height);
    ReleaseDC(window, dc);
    return picture;
}

// The width x height block of `got` at (left, top) against the block of
// `want` at (wantLeft, wantTop).
::testing::AssertionResult BlockMatches(const Picture& got, int left, int top, const Picture& want,
                                        int wantLeft, int wantTop, int width, int height)
{
    int wrong = 0;
    std::string first;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint32_t g = got.At(left + x, top + y);
            const std::uint32_t w = want.At(wantLeft + x, wantTop + y);
            if (g == w)
                continue;
            if (wrong++ == 0)
                first = "(" + std::to_string(left + x) + "," + std::to_string(top + y) + ") is " +
                        Hex(g) + ", expected " + Hex(w);
        }
    }
    if (wrong == 0)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << wrong << " pixels differ; first: " << first;
}

// The 16 x 16 cell of `got` at (left, top) shows `tile` of `strip`.
::testing::AssertionResult CellShows(const Picture& got, int left, int top, const Picture& strip,
                                     int tile)
{
    auto result = BlockMatches(got, left, top, strip, Tile * tile, 0, Tile, Tile);
    if (!result)
        result << " (cell at " << left << "," << top << ", tile " << tile << ")";
    return result;
}

// Every pixel outside `r` is the same in both pictures.
::testing::AssertionResult SameOutside(const Picture& before, const Picture& after, const RECT& r)
{
    int changed = 0;
    std::string first;
    for (int y = 0; y < before.height; ++y) {
        for (int x = 0; x < before.width; ++x) {
            if (x >= r.left && x < r.right && y >= r.top && y < r.bottom)
                continue;
            if (before.At(x, y) == after.At(x, y))
                continue;
            if (changed++ == 0)
                first = "(" + std::to_string(x) + "," + std::to_string(y) + ") " +
                        Hex(before.At(x, y)) + " -> " + Hex(after.At(x, y));
        }
    }
    if (changed == 0)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << changed << " pixels outside " << RectText(r) << " changed; first: " << first;
}

// Every pixel of the block is `colour`.
::testing::AssertionResult AllOf(const Picture& got, const RECT& r, std::uint32_t colour)
{
    int wrong = 0;
    std::string first;
    for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.left; x < r.right; ++x) {
            if (got.At(x, y) == colour)
                continue;
            if (wrong++ == 0)
                first = "(" + std::to_string(x) + "," + std::to_string(y) + ") is " + Hex(got.At(x, y));
        }
    }
    if (wrong == 0)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << wrong << " pixels of " << RectText(r) << " are not " << Hex(colour) << "; first: " << first;
}

// ---------------------------------------------------------------- the strips

// The built-in strip as the program carries it: bitmap resource 101, a
// bottom-up 8-bit DIB with its colour table, decoded from its bytes.
Picture DecodeBuiltInStrip()
{
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(IDB_TILES), MAKEINTRESOURCEA(2));  // RT_BITMAP
    if (!found)
        return {};
    return DecodeEightBitDib(static_cast<const unsigned char*>(LockResource(LoadResource(nullptr, found))));
}

const Picture& BuiltInStrip()
{
    static const Picture strip = DecodeBuiltInStrip();
    return strip;
}

// The colour of pixel (x, y) of the strip files that the tests write: the
// red part names the tile (8 apart from one tile to the next), the green
// part the place inside the tile, the blue part tells the top 16 rows from
// any rows below them.
std::uint32_t FilePixel(int x, int y)
{
    const std::uint32_t red = static_cast<std::uint32_t>(8 + 8 * (x / Tile));
    const std::uint32_t green = static_cast<std::uint32_t>(16 * (x % Tile) + y % Tile);
    const std::uint32_t blue = y < Tile ? 0x40 : 0xC0;
    return red << 16 | green << 8 | blue;
}

// A 448 x 16 strip: the file's pattern for its first `fileTiles` tiles, the
// built-in pictures for the rest.
Picture MixedStrip(int fileTiles)
{
    Picture strip = BuiltInStrip();
    for (int y = 0; y < Tile; ++y)
        for (int x = 0; x < Tile * fileTiles; ++x)
            strip.Set(x, y, FilePixel(x, y));
    return strip;
}

// A 24-bit bitmap file of FilePixel.
std::string StripFileBytes(int width, int height)
{
    return BmpFileBytes(width, height, 24, FilePixel);
}

void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// ---------------------------------------------------------------- the window

int paintCount;
int eraseCount;

LRESULT CALLBACK TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        CreateBackBuffer(window);
        return 0;
    case WM_PAINT:
        ++paintCount;
        PaintFromBackBuffer(window);
        return 0;
    case WM_ERASEBKGND:
        ++eraseCount;
        break;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

const char* const WindowClassName = "TsweeperRenderGdiTest";

void RegisterTestClass()
{
    static bool registered = false;
    if (registered)
        return;
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = TestWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    // White, so that a pixel the repaint fails to cover does not pass for
    // the back buffer's black.
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = WindowClassName;
    registered = RegisterClassA(&windowClass) != 0;
}

void PumpMessages()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

// The update region of the window is exactly `want`.
::testing::AssertionResult UpdateRegionIs(HWND window, const RECT& want)
{
    HRGN got = CreateRectRgn(0, 0, 0, 0);
    GetUpdateRgn(window, got, FALSE);
    HRGN expected = CreateRectRgnIndirect(&want);
    const bool same = EqualRgn(got, expected) != 0;
    RECT box = {};
    const int kind = GetRgnBox(got, &box);
    DeleteObject(got);
    DeleteObject(expected);
    if (same)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "update region " << (kind == NULLREGION ? "is empty" : kind == SIMPLEREGION ? "is" : "spans")
           << " " << RectText(box) << ", expected exactly " << RectText(want);
}

// The program's settings path set to an ASCII file name of the test's.
void PointAtSettings(const std::string& path)
{
    const std::wstring wide(path.begin(), path.end());
    lstrcpynW(iniPath, wide.c_str(), PathBufferSize);
    iniPathUsable = 1;
}

// The "PanelBMP" value the program read, in the tests' ASCII names.
std::string PanelBmpRead()
{
    std::string narrow;
    for (const wchar_t* c = panelBmpPath; *c; ++c)
        narrow += static_cast<char>(*c);
    return narrow;
}

// A hidden window of the test class, with a client area of the largest
// board, standing in for the main window; and the built-in strip.
class DrawingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_GT(BuiltInStrip().width, 0) << "bitmap resource 101 missing or not an 8-bit DIB";
        ASSERT_EQ(BuiltInStrip().width, StripWidth);
        ASSERT_EQ(BuiltInStrip().height, StripHeight);
        RegisterTestClass();
        paintCount = 0;
        eraseCount = 0;
        window = CreateWindowExA(0, WindowClassName, "render test", WS_POPUP, 600, 400,
                                 LargestClientWidth, LargestClientHeight, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(window, nullptr);
        spare = CreateBitmap(1, 1, 1, 1, nullptr);
        if (LoadsBuiltInStrip())
            TileStrip = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_TILES));
    }

    void TearDown() override
    {
        if (window)
            DestroyWindow(window);
        PumpMessages();
        paintedWindow = nullptr;
        windowZoom = 1;
        DeleteDC(tileDC);
        DeleteDC(backBufferDC);
        DeleteObject(backBufferBitmap);
        if (TileStrip)
            DeleteObject(TileStrip);
        DeleteObject(spare);
        tileDC = nullptr;
        backBufferDC = nullptr;
        backBufferBitmap = nullptr;
        TileStrip = nullptr;
    }

    virtual bool LoadsBuiltInStrip() const { return true; }

    // Puts the window on the screen, away from the corner, with a client
    // area of `width` x `height`, and lets it take its first paint.
    void Show(int width = LargestClientWidth, int height = LargestClientHeight)
    {
        SetWindowPos(window, HWND_TOP, 600, 400, width, height, SWP_SHOWWINDOW | SWP_NOACTIVATE);
        UpdateWindow(window);
        PumpMessages();
    }

    HWND window = nullptr;
    HBITMAP spare = nullptr;  // sits in the tile context between two strips
};

RECT SquareRect(int column, int row)
{
    return {SquareLeft(column), SquareTop(row), SquareLeft(column) + Tile, SquareTop(row) + Tile};
}

const RECT CounterRect = {0, 0, CounterCells * Tile, CounterStripHeight};

// ---------------------------------------------------------------- back buffer

TEST_F(DrawingTest, BackBufferIsAsLargeAsTheScreenAndStartsBlack)
{
    BITMAP info = {};
    ASSERT_NE(GetObjectA(backBufferBitmap, sizeof info, &info), 0);
    EXPECT_EQ(info.bmWidth, ScreenWidth());
    EXPECT_EQ(info.bmHeight, ScreenHeight());
    EXPECT_EQ(GetCurrentObject(backBufferDC, OBJ_BITMAP), backBufferBitmap);

    const Picture buffer = GrabBackBuffer();
    EXPECT_TRUE(AllOf(buffer, {0, 0, buffer.width, buffer.height}, BlackPixel));
}

// ---------------------------------------------------------------- counter

// The shared table (tests/support/counter_cases.h), drawn one row after the other.

TEST_F(DrawingTest, CounterShowsSignAndThreeDigitsAndInvalidatesItsFourCells)
{
    Show();
    for (const CounterCase& c : counterCases) {
        SCOPED_TRACE("mineCounter = " + std::to_string(c.value));
        ValidateRect(window, nullptr);
        const Picture before = GrabBackBuffer();
        mineCounter = c.value;
        DrawCounter();
        const Picture after = GrabBackBuffer();
        for (int cell = 0; cell < 4; ++cell)
            EXPECT_TRUE(CellShows(after, Tile * cell, 0, BuiltInStrip(), c.tiles[cell]));
        EXPECT_TRUE(SameOutside(before, after, CounterRect));
        EXPECT_TRUE(UpdateRegionIs(window, CounterRect));
    }
}

// ---------------------------------------------------------------- squares

struct SquareCase {
    int column;
    int row;
    int tile;
};

const SquareCase SquareCases[] = {
    {0, 0, 0},  {0, 0, 15},  {0, 0, 3},  {1, 0, 1},   {0, 1, 4},  {9, 4, 14},
    {35, 23, 11}, {35, 0, 12}, {0, 23, 13}, {17, 11, 26}, {20, 7, 27}, {35, 23, 0},
};

TEST_F(DrawingTest, DrawTileChangesExactlyItsSquareAndInvalidatesExactlyIt)
{
    Show();
    for (const SquareCase& c : SquareCases) {
        SCOPED_TRACE("DrawTile(" + std::to_string(c.column) + ", " + std::to_string(c.row) + ", " +
                     std::to_string(c.tile) + ")");
        ValidateRect(window, nullptr);
        const Picture before = GrabBackBuffer();
        DrawTile(c.column, c.row, c.tile);
        const Picture after = GrabBackBuffer();
        const RECT square = SquareRect(c.column, c.row);
        EXPECT_TRUE(CellShows(after, square.left, square.top, BuiltInStrip(), c.tile));
        EXPECT_TRUE(SameOutside(before, after, square));
        EXPECT_TRUE(UpdateRegionIs(window, square));
    }
}

// Every tile in turn on the first square: each shows exactly itself,
// whatever the square held before, taken from x = 16 * tile of the strip.
TEST_F(DrawingTest, EveryTileReplacesWhateverTheSquareHeld)
{
    const RECT square = SquareRect(0, 0);
    for (int tile = 0; tile < Tiles; ++tile) {
        DrawTile(0, 0, tile);
        const Picture after = GrabBackBuffer();
        EXPECT_TRUE(CellShows(after, square.left, square.top, BuiltInStrip(), tile));
    }
    // Backwards too, so that no tile passes by leaving its predecessor.
    for (int tile = Tiles - 1; tile >= 0; --tile) {
        DrawTile(0, 0, tile);
        const Picture after = GrabBackBuffer();
        EXPECT_TRUE(CellShows(after, square.left, square.top, BuiltInStrip(), tile));
    }
}

struct BoardSize {
    int columns;
    int rows;
};

const BoardSize BoardSizes[] = {{10, 5}, {36, 24}, {30, 16}, {10, 24}, {36, 5}, {23, 17}};

TEST_F(DrawingTest, LastSquareFillsTheBottomRightCornerOfTheClientArea)
{
    for (const BoardSize& size : BoardSizes) {
        SCOPED_TRACE(std::to_string(size.columns) + " x " + std::to_string(size.rows));
        const int width = ClientWidth(size.columns);
        const int height = ClientHeight(size.rows);
        Show(width, height);
        RECT client = {};
        GetClientRect(window, &client);
        ASSERT_EQ(client.right, width);
        ASSERT_EQ(client.bottom, height);

        ValidateRect(window, nullptr);
        const Picture before = GrabBackBuffer();
        DrawTile(size.columns - 1, size.rows - 1, 15);
        const Picture after = GrabBackBuffer();
        const RECT corner = {width - Tile, height - Tile, width, height};
        EXPECT_TRUE(CellShows(after, corner.left, corner.top, BuiltInStrip(), 15));
        EXPECT_TRUE(SameOutside(before, after, corner));
        EXPECT_TRUE(UpdateRegionIs(window, corner));
    }
}

// The strip is selected into the tile source on every draw, so a bitmap
// that something else left in the tile context does not show.
TEST_F(DrawingTest, DrawingTakesTheStripWhateverTheTileContextHolds)
{
    HBITMAP other = CreateCompatibleBitmap(backBufferDC, StripWidth, StripHeight);
    {
        HDC dc = CreateCompatibleDC(backBufferDC);
        HGDIOBJ old = SelectObject(dc, other);
        PatBlt(dc, 0, 0, StripWidth, StripHeight, WHITENESS);
        SelectObject(dc, old);
        DeleteDC(dc);
    }

    SelectObject(tileDC, other);
    DrawTile(4, 2, 6);
    SelectObject(tileDC, other);
    mineCounter = -21;
    DrawCounter();

    const Picture after = GrabBackBuffer();
    const RECT square = SquareRect(4, 2);
    EXPECT_TRUE(CellShows(after, square.left, square.top, BuiltInStrip(), 6));
    const int counterTiles[4] = {26, 16, 18, 17};
    for (int cell = 0; cell < 4; ++cell)
        EXPECT_TRUE(CellShows(after, Tile * cell, 0, BuiltInStrip(), counterTiles[cell]));

    SelectObject(tileDC, TileStrip);
    DeleteObject(other);
}

// A whole game's worth of drawing on the largest board: every square, every
// tile, the counter at many values. The counter strip right of the four
// counter cells is never drawn, and nothing lands outside the board.
TEST_F(DrawingTest, CounterStripRightOfTheCounterStaysBlack)
{
    for (int value : {0, 5, -7, 123, 999, -999, 1234, -1000})
        for (int row = 0; row < MaxRows; ++row)
            for (int column = 0; column < MaxColumns; ++column) {
                mineCounter = value + column;
                DrawCounter();
                DrawTile(column, row, ((column + row + value) % Tiles + Tiles) % Tiles);
            }

    const Picture buffer = GrabBackBuffer();
    EXPECT_TRUE(AllOf(buffer, {64, 0, buffer.width, Tile}, BlackPixel));
    EXPECT_TRUE(AllOf(buffer, {LargestClientWidth, Tile, buffer.width, buffer.height}, BlackPixel));
    EXPECT_TRUE(AllOf(buffer, {0, LargestClientHeight, LargestClientWidth, buffer.height}, BlackPixel));
}

// ---------------------------------------------------------------- repaint

// Draws a full largest board and the counter into the back buffer.
void DrawLargestBoard()
{
    for (int row = 0; row < MaxRows; ++row)
        for (int column = 0; column < MaxColumns; ++column)
            DrawTile(column, row, (3 * column + row) % Tiles);
    mineCounter = -42;
    DrawCounter();
}

TEST_F(DrawingTest, FirstPaintShowsTheBlackBackBuffer)
{
    Show();
    const Picture screen = GrabWindow(window, LargestClientWidth, LargestClientHeight);
    EXPECT_TRUE(AllOf(screen, {0, 0, LargestClientWidth, LargestClientHeight}, BlackPixel));
}

TEST_F(DrawingTest, PaintCopiesTheBackBufferWithoutChangingIt)
{
    Show();
    DrawLargestBoard();
    const Picture buffer = GrabBackBuffer();

    paintCount = 0;
    eraseCount = 0;
    UpdateWindow(window);
    EXPECT_EQ(paintCount, 1);
    EXPECT_EQ(eraseCount, 0) << "drawing asked for the background to be erased";
    RECT left = {};
    EXPECT_FALSE(GetUpdateRect(window, &left, FALSE)) << "still invalid: " << RectText(left);

    const Picture firstScreen = GrabWindow(window, LargestClientWidth, LargestClientHeight);
    EXPECT_TRUE(BlockMatches(firstScreen, 0, 0, buffer, 0, 0, LargestClientWidth, LargestClientHeight));
    EXPECT_TRUE(AllOf(firstScreen, {64, 0, LargestClientWidth, Tile}, BlackPixel));
    EXPECT_TRUE(BlockMatches(GrabBackBuffer(), 0, 0, buffer, 0, 0, buffer.width, buffer.height))
        << "the paint changed the back buffer";

    // Again, this time with the background erased first: the copy covers it.
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
    const Picture secondScreen = GrabWindow(window, LargestClientWidth, LargestClientHeight);
    EXPECT_TRUE(BlockMatches(secondScreen, 0, 0, firstScreen, 0, 0, LargestClientWidth, LargestClientHeight));
    EXPECT_TRUE(BlockMatches(GrabBackBuffer(), 0, 0, buffer, 0, 0, buffer.width, buffer.height))
        << "the second paint changed the back buffer";
}

// Pixels of the back buffer outside the invalid rectangle do not reach the
// window: only what DrawTile or DrawCounter invalidated is copied, in place.
TEST_F(DrawingTest, PaintCopiesOnlyTheInvalidRectangle)
{
    Show();
    DrawLargestBoard();
    UpdateWindow(window);
    Picture expected = GrabWindow(window, LargestClientWidth, LargestClientHeight);

    // Changed behind the window's back: the window is not told of it.
    PatBlt(backBufferDC, 0, 0, LargestClientWidth, LargestClientHeight, WHITENESS);

    // A square away from the corner, then the counter cells, each painted on
    // its own: the screen gains exactly what was invalidated.
    struct Change {
        const char* what;
        RECT area;
        void (*draw)();
    };
    const Change changes[] = {
        {"square (7, 3)", SquareRect(7, 3), [] { DrawTile(7, 3, 15); }},
        {"square (35, 23)", SquareRect(35, 23), [] { DrawTile(35, 23, 8); }},
        {"counter", CounterRect, [] { mineCounter = 5; DrawCounter(); }},
    };
    for (const Change& change : changes) {
        SCOPED_TRACE(change.what);
        paintCount = 0;
        change.draw();
        UpdateWindow(window);
        EXPECT_EQ(paintCount, 1);
        const Picture buffer = GrabBackBuffer();
        const Picture screen = GrabWindow(window, LargestClientWidth, LargestClientHeight);
        const RECT& a = change.area;
        EXPECT_TRUE(BlockMatches(screen, a.left, a.top, buffer, a.left, a.top, a.right - a.left,
                                 a.bottom - a.top));
        EXPECT_TRUE(SameOutside(expected, screen, a));
        expected = screen;
    }
    const Picture screen = GrabWindow(window, LargestClientWidth, LargestClientHeight);
    const RECT last = SquareRect(35, 23);
    EXPECT_TRUE(CellShows(screen, SquareRect(7, 3).left, SquareRect(7, 3).top, BuiltInStrip(), 15));
    EXPECT_TRUE(CellShows(screen, last.left, last.top, BuiltInStrip(), 8));
    const int counterTiles[4] = {27, 16, 16, 21};
    for (int cell = 0; cell < 4; ++cell)
        EXPECT_TRUE(CellShows(screen, Tile * cell, 0, BuiltInStrip(), counterTiles[cell]));
}

// The window at a whole-number zoom: every back-buffer pixel shown as a
// zoom x zoom block, every draw invalidating the blocks of what it changed,
// and a repaint of an invalid rectangle that cuts through blocks filling it
// with whole blocks' colours, clipped to it.
TEST_F(DrawingTest, ZoomedWindowShowsEveryBackBufferPixelAsAWholeBlock)
{
    constexpr int ArtWidth = 320, ArtHeight = 208;  // 20 x 12 squares under the counter
    for (const int zoom : {2, 3}) {
        SCOPED_TRACE("zoom " + std::to_string(zoom));
        windowZoom = zoom;
        const int width = zoom * ArtWidth, height = zoom * ArtHeight;
        SetWindowPos(window, HWND_TOP, 0, 0, width, height, SWP_SHOWWINDOW | SWP_NOACTIVATE);
        // A new zoom shows every pixel anew, as after a move to another DPI.
        InvalidateRect(window, nullptr, FALSE);
        UpdateWindow(window);
        PumpMessages();
        DrawLargestBoard();
        UpdateWindow(window);
        const auto zoomed = [&] {
            const Picture buffer = GrabBackBuffer();
            Picture picture(width, height);
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x)
                    picture.Set(x, y, buffer.At(x / zoom, y / zoom));
            return picture;
        };
        EXPECT_TRUE(BlockMatches(GrabWindow(window, width, height), 0, 0, zoomed(), 0, 0, width, height));

        DrawTile(7, 3, TileExplodedBomb);
        const RECT square = SquareRect(7, 3);
        EXPECT_TRUE(UpdateRegionIs(window, {zoom * square.left, zoom * square.top, zoom * square.right,
                                            zoom * square.bottom}));
        UpdateWindow(window);
        mineCounter = 7;
        DrawCounter();
        EXPECT_TRUE(UpdateRegionIs(window, {0, 0, zoom * CounterRect.right, zoom * CounterRect.bottom}));
        UpdateWindow(window);
        EXPECT_TRUE(BlockMatches(GrabWindow(window, width, height), 0, 0, zoomed(), 0, 0, width, height));

        // Behind the window's back, then a rectangle that starts and ends
        // inside blocks: it shows the new pixels, whole, and nothing else moves.
        const Picture before = GrabWindow(window, width, height);
        PatBlt(backBufferDC, 0, 0, ArtWidth, ArtHeight, WHITENESS);
        const RECT cut = {zoom * 5 + 1, zoom * 20 + 1, zoom * 9 - 1, zoom * 31 - 1};
        InvalidateRect(window, &cut, FALSE);
        UpdateWindow(window);
        const Picture after = GrabWindow(window, width, height);
        EXPECT_TRUE(AllOf(after, cut, 0xFFFFFF));
        EXPECT_TRUE(SameOutside(before, after, cut));
    }
}

// ---------------------------------------------------------------- strip choice

// The settings file, the strip files and the program's strip choice. Every
// case writes a settings file of its own name.
class StripChoiceTest : public DrawingTest {
protected:
    static void SetUpTestSuite()
    {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        folder = std::string(temp) + "tsweeper_render_gdi_" + std::to_string(GetCurrentProcessId()) + "\\";
        std::filesystem::create_directories(folder + "elsewhere");
        const std::string full = StripFileBytes(StripWidth, StripHeight);
        WriteFile(folder + "full.bmp", full);
        WriteFile(folder + "large.bmp", StripFileBytes(480, 24));
        WriteFile(folder + "cut-pixels.bmp", full.substr(0, full.size() / 2));
        WriteFile(folder + "six.bmp", StripFileBytes(100, 16));
        WriteFile(folder + "one.bmp", StripFileBytes(16, 16));
        WriteFile(folder + "twenty-seven.bmp", StripFileBytes(447, 16));
        WriteFile(folder + "sliver.bmp", StripFileBytes(15, 16));
        WriteFile(folder + "low.bmp", StripFileBytes(StripWidth, 10));
        WriteFile(folder + "text.bmp", "[Set]\r\nThis is not a picture.\r\n");
        WriteFile(folder + "file-header-only.bmp", full.substr(0, 14));
        WriteFile(folder + "cut-in-info-header.bmp", full.substr(0, 18));
    }

    static void TearDownTestSuite()
    {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    bool LoadsBuiltInStrip() const override { return false; }

    // Points the program at a settings file named `name` holding `text`.
    void UseSettings(const std::string& name, const std::string& text)
    {
        const std::string path = folder + name + ".ini";
        WriteFile(path, text);
        PointAtSettings(path);
    }

    // Lets go of the strip chosen before, as a fresh start of the program would.
    void ForgetStrip()
    {
        SelectObject(tileDC, spare);
        if (TileStrip)
            DeleteObject(TileStrip);
        TileStrip = nullptr;
    }

    static ::testing::AssertionResult Choose()
    {
        std::wmemset(panelBmpPath, L'#', PathBufferSize - 1);
        panelBmpPath[PathBufferSize - 1] = L'\0';
        ReadTileFileName();
        ChooseTileStrip(panelBmpPath, GetModuleHandleA(nullptr));
        if (!TileStrip)
            return ::testing::AssertionFailure() << "no tile strip chosen";
        return ::testing::AssertionSuccess();
    }

    // Every tile, drawn on the first board row, is the tile of `want`.
    static void ExpectEveryTileFrom(const Picture& want)
    {
        for (int tile = 0; tile < Tiles; ++tile)
            DrawTile(tile, 0, tile);
        const Picture buffer = GrabBackBuffer();
        for (int tile = 0; tile < Tiles; ++tile)
            EXPECT_TRUE(CellShows(buffer, Tile * tile, Tile, want, tile));
    }

    static std::string folder;
};

std::string StripChoiceTest::folder;

struct StripCase {
    const char* name;
    std::string settings;  // "@" stands for the test folder
    int fileTiles;         // tiles that come from the file; the rest are built in
    const char* panelBmp;  // what the program read from the key
};

const StripCase StripCases[] = {
    {"NoFileNameSection", "[Set]\r\nX=10\r\nY=5\r\n", 0, ""},
    {"KeyAbsent", "[File Name]\r\nPanel=@full.bmp\r\n", 0, ""},
    {"KeyEmpty", "[File Name]\r\nPanelBMP=\r\n", 0, ""},
    {"MissingFile", "[File Name]\r\nPanelBMP=@missing.bmp\r\n", 0, "@missing.bmp"},
    {"FolderNotFile", "[File Name]\r\nPanelBMP=@elsewhere\r\n", 0, "@elsewhere"},
    {"NotABitmap", "[File Name]\r\nPanelBMP=@text.bmp\r\n", 0, "@text.bmp"},
    {"FileHeaderOnly", "[File Name]\r\nPanelBMP=@file-header-only.bmp\r\n", 0, "@file-header-only.bmp"},
    {"CutInInfoHeader", "[File Name]\r\nPanelBMP=@cut-in-info-header.bmp\r\n", 0, "@cut-in-info-header.bmp"},
    {"PixelDataCutShort", "[File Name]\r\nPanelBMP=@cut-pixels.bmp\r\n", 0, "@cut-pixels.bmp"},
    {"TooLow", "[File Name]\r\nPanelBMP=@low.bmp\r\n", 0, "@low.bmp"},
    {"NarrowerThanOneTile", "[File Name]\r\nPanelBMP=@sliver.bmp\r\n", 0, "@sliver.bmp"},
    {"OneTile", "[File Name]\r\nPanelBMP=@one.bmp\r\n", 1, "@one.bmp"},
    {"SixTiles", "[Set]\r\nX=12\r\n[File Name]\r\nPanelBMP=@six.bmp\r\n", 6, "@six.bmp"},
    {"OnePixelShortOfAll", "[File Name]\r\nPanelBMP=@twenty-seven.bmp\r\n", 27, "@twenty-seven.bmp"},
    {"FullStrip", "[File Name]\r\nPanelBMP=@full.bmp\r\n", 28, "@full.bmp"},
    {"LargerThanAStrip", "[File Name]\r\nPanelBMP=@large.bmp\r\n", 28, "@large.bmp"},
};

std::string InFolder(std::string text, const std::string& folder)
{
    for (std::size_t at = text.find('@'); at != std::string::npos; at = text.find('@', at + folder.size()))
        text.replace(at, 1, folder);
    return text;
}

TEST_F(StripChoiceTest, SettingsFileDecidesWhereEveryTileComesFrom)
{
    for (const StripCase& c : StripCases) {
        SCOPED_TRACE(c.name);
        UseSettings(c.name, InFolder(c.settings, folder));
        ForgetStrip();
        ASSERT_TRUE(Choose());
        EXPECT_EQ(PanelBmpRead(), InFolder(c.panelBmp, folder));
        ExpectEveryTileFrom(MixedStrip(c.fileTiles));
    }
}

TEST_F(StripChoiceTest, MissingSettingsFileGivesTheBuiltInStrip)
{
    PointAtSettings(folder + "absent.ini");
    ASSERT_TRUE(Choose());
    EXPECT_EQ(PanelBmpRead(), "");
    ExpectEveryTileFrom(BuiltInStrip());
}

// When the settings path could not be built, the file is not read at all.
TEST_F(StripChoiceTest, UnusableSettingsPathGivesTheBuiltInStrip)
{
    UseSettings("unusable", "[File Name]\r\nPanelBMP=" + folder + "full.bmp\r\n");
    iniPathUsable = 0;
    ASSERT_TRUE(Choose());
    EXPECT_EQ(PanelBmpRead(), "");
    ExpectEveryTileFrom(BuiltInStrip());
}

TEST_F(StripChoiceTest, RelativePathIsTakenFromTheCurrentDirectory)
{
    char previous[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, previous);

    UseSettings("relative", "[File Name]\r\nPanelBMP=six.bmp\r\n");
    ASSERT_TRUE(SetCurrentDirectoryA(folder.c_str()));
    ASSERT_TRUE(Choose());
    EXPECT_EQ(PanelBmpRead(), "six.bmp");
    ExpectEveryTileFrom(MixedStrip(6));

    ForgetStrip();
    ASSERT_TRUE(SetCurrentDirectoryA((folder + "elsewhere").c_str()));
    ASSERT_TRUE(Choose());
    EXPECT_EQ(PanelBmpRead(), "six.bmp");
    ExpectEveryTileFrom(BuiltInStrip());

    SetCurrentDirectoryA(previous);
}

// The value is read into a buffer of 255 characters: a longer one is cut to
// 254 and, naming no file, gives the built-in strip.
TEST_F(StripChoiceTest, OverlongValueIsCutAndGivesTheBuiltInStrip)
{
    const std::string value(300, 'x');
    UseSettings("overlong", "[File Name]\r\nPanelBMP=" + value + "\r\n");
    ASSERT_TRUE(Choose());
    EXPECT_EQ(PanelBmpRead(), value.substr(0, 254));
    ExpectEveryTileFrom(BuiltInStrip());
}

// A replacement strip serves the counter as well as the squares.
TEST_F(StripChoiceTest, CounterTakesItsTilesFromTheReplacementStrip)
{
    UseSettings("counter", "[File Name]\r\nPanelBMP=" + folder + "full.bmp\r\n");
    ASSERT_TRUE(Choose());
    mineCounter = -58;
    DrawCounter();
    const Picture buffer = GrabBackBuffer();
    const Picture strip = MixedStrip(Tiles);
    const int tiles[4] = {26, 16, 21, 24};
    for (int cell = 0; cell < 4; ++cell)
        EXPECT_TRUE(CellShows(buffer, Tile * cell, 0, strip, tiles[cell]));
}

}  // namespace
