#include "render/back_buffer.h"

#include "app/shell_state.h"
#include "core/board.h"
#include "render/counter_digits.h"
#include "render/draw.h"
#include "render/tile_strip.h"

HDC tileDC;
HDC backBufferDC;
HBITMAP backBufferBitmap;

namespace {

constexpr int TileSize = 16;

void CopyTile(int tile, int left, int top)
{
    BitBlt(backBufferDC, left, top, TileSize, TileSize, tileDC, TileSize * tile, 0, SRCCOPY);
}

}  // namespace

void CreateBackBuffer(HWND window)
{
    HDC windowDC = GetDC(window);
    backBufferDC = CreateCompatibleDC(windowDC);
    backBufferBitmap = CreateCompatibleBitmap(windowDC, GetSystemMetrics(SM_CXSCREEN),
                                              GetSystemMetrics(SM_CYSCREEN));
    SelectObject(backBufferDC, backBufferBitmap);
    PatBlt(backBufferDC, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
           BLACKNESS);
    ReleaseDC(window, windowDC);
    tileDC = CreateCompatibleDC(backBufferDC);
}

void PaintFromBackBuffer(HWND window)
{
    PAINTSTRUCT paint;
    HDC windowDC = BeginPaint(window, &paint);
    const RECT& r = paint.rcPaint;
    BitBlt(windowDC, r.left, r.top, r.right - r.left, r.bottom - r.top, backBufferDC, r.left,
           r.top, SRCCOPY);
    EndPaint(window, &paint);
}

void DrawTile(int column, int row, int tile)
{
    // Row + 1 leaves the counter strip free above the board.
    const RECT square = {TileSize * column, TileSize * (row + 1), TileSize * column + TileSize,
                         TileSize * (row + 1) + TileSize};
    SelectObject(tileDC, TileStrip);
    CopyTile(tile, square.left, square.top);
    InvalidateRect(mainWindow, &square, FALSE);
}

void DrawCounter()
{
    SelectObject(tileDC, TileStrip);
    int tiles[CounterCells];
    CounterTiles(mineCounter, tiles);
    for (int cell = 0; cell < CounterCells; ++cell)
        CopyTile(tiles[cell], TileSize * cell, 0);
    const RECT counter = {0, 0, TileSize * CounterCells, TileSize};
    InvalidateRect(mainWindow, &counter, FALSE);
}
