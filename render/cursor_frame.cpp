#include "render/cursor_frame.h"

#include "core/geometry.h"
#include "render/back_buffer.h"

namespace {

int frameShown = 0;
int frameColumn = 0;
int frameRow = 0;

// The square's block in window pixels at the zoom.
RECT Block(int column, int row)
{
    const int left = SquareLeft(column) * windowZoom, top = SquareTop(row) * windowZoom;
    const int size = SquareSize * windowZoom;
    return {left, top, left + size, top + size};
}

RECT Grown(RECT r, int by)
{
    return {r.left - by, r.top - by, r.right + by, r.bottom + by};
}

// The window pixels the frame covers: its block and the ring outside it.
void InvalidateFrame()
{
    if (!frameShown)
        return;
    const RECT covered = Grown(Block(frameColumn, frameRow), windowZoom);
    InvalidateRect(paintedWindow, &covered, FALSE);
}

// A ring `width` thick just inside `outer`.
void FillRing(HDC dc, const RECT& outer, int width, int stockBrush)
{
    HBRUSH brush = static_cast<HBRUSH>(GetStockObject(stockBrush));
    const RECT sides[4] = {
        {outer.left, outer.top, outer.right, outer.top + width},
        {outer.left, outer.bottom - width, outer.right, outer.bottom},
        {outer.left, outer.top + width, outer.left + width, outer.bottom - width},
        {outer.right - width, outer.top + width, outer.right, outer.bottom - width},
    };
    for (const RECT& side : sides)
        FillRect(dc, &side, brush);
}

}  // namespace

void ShowCursorFrame(int shown, int column, int row)
{
    if (shown == frameShown && (!shown || (column == frameColumn && row == frameRow)))
        return;
    InvalidateFrame();
    frameShown = shown;
    frameColumn = column;
    frameRow = row;
    InvalidateFrame();
}

void PaintCursorFrame(HDC windowDC)
{
    if (!frameShown)
        return;
    const RECT block = Block(frameColumn, frameRow);
    const int z = windowZoom;
    FillRing(windowDC, Grown(block, z), z, WHITE_BRUSH);
    FillRing(windowDC, block, 2 * z, BLACK_BRUSH);
    FillRing(windowDC, Grown(block, -2 * z), 2 * z, WHITE_BRUSH);
}
