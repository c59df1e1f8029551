#include "render/back_buffer.h"

#include "core/board.h"
#include "core/geometry.h"
#include "core/draw.h"
#include "render/counter_digits.h"
#include "render/cursor_frame.h"
#include "render/screen_model.h"
#include "render/tile_strip.h"

HWND paintedWindow;
HDC tileDC;
HDC backBufferDC;
HBITMAP backBufferBitmap;
int windowZoom = 1;

namespace {

void CopyTile(int tile, int left, int top)
{
    BitBlt(backBufferDC, left, top, SquareSize, SquareSize, tileDC, SquareSize * tile, 0, SRCCOPY);
}

// Marks the window pixels showing the back-buffer rectangle `art` for repaint.
void InvalidateArt(const RECT& art)
{
    const RECT shown = {art.left * windowZoom, art.top * windowZoom, art.right * windowZoom,
                        art.bottom * windowZoom};
    InvalidateRect(paintedWindow, &shown, FALSE);
}

// The first back-buffer pixel at window pixel `at`, and the end of those
// that cover up to window pixel `end` (exclusive).
int ArtStart(LONG at)
{
    return static_cast<int>(at) / windowZoom;
}
int ArtEnd(LONG end)
{
    return (static_cast<int>(end) + windowZoom - 1) / windowZoom;
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
    // Whole blocks only: a block cut at the edge of the invalid rectangle is
    // clipped there, never drawn from a fraction of a pixel.
    const int left = ArtStart(r.left), top = ArtStart(r.top);
    const int width = ArtEnd(r.right) - left, height = ArtEnd(r.bottom) - top;
    SetStretchBltMode(windowDC, COLORONCOLOR);
    StretchBlt(windowDC, left * windowZoom, top * windowZoom, width * windowZoom, height * windowZoom,
               backBufferDC, left, top, width, height, SRCCOPY);
    PaintCursorFrame(windowDC);
    EndPaint(window, &paint);
}

void DrawTile(int column, int row, int tile)
{
    const RECT square = {SquareLeft(column), SquareTop(row), SquareLeft(column) + SquareSize,
                         SquareTop(row) + SquareSize};
    SelectObject(tileDC, TileStrip);
    CopyTile(tile, square.left, square.top);
    InvalidateArt(square);
    ShowTile(column, row, tile);
}

void DrawCounter()
{
    SelectObject(tileDC, TileStrip);
    int tiles[CounterCells];
    CounterTiles(mineCounter, tiles);
    for (int cell = 0; cell < CounterCells; ++cell)
        CopyTile(tiles[cell], SquareSize * cell, 0);
    const RECT counter = {0, 0, SquareSize * CounterCells, CounterStripHeight};
    InvalidateArt(counter);
    ShowCounter();
}
