#include "render/back_buffer.h"

#include "core/board.h"
#include "core/geometry.h"
#include "render/counter_digits.h"
#include "render/draw.h"
#include "render/tile_strip.h"

HWND paintedWindow;
HDC tileDC;
HDC backBufferDC;
HBITMAP backBufferBitmap;

namespace {

void CopyTile(int tile, int left, int top)
{
    BitBlt(backBufferDC, left, top, SquareSize, SquareSize, tileDC, SquareSize * tile, 0, SRCCOPY);
}

}  // namespace

void CreateBackBuffer(HWND window)
{
    paintedWindow = window;
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
    const RECT square = {SquareLeft(column), SquareTop(row), SquareLeft(column) + SquareSize,
                         SquareTop(row) + SquareSize};
    SelectObject(tileDC, TileStrip);
    CopyTile(tile, square.left, square.top);
    InvalidateRect(paintedWindow, &square, FALSE);
}

void DrawCounter()
{
    SelectObject(tileDC, TileStrip);
    int tiles[CounterCells];
    CounterTiles(mineCounter, tiles);
    for (int cell = 0; cell < CounterCells; ++cell)
        CopyTile(tiles[cell], SquareSize * cell, 0);
    const RECT counter = {0, 0, SquareSize * CounterCells, CounterStripHeight};
    InvalidateRect(paintedWindow, &counter, FALSE);
}
