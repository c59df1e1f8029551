#include "web/wasm/page_drawing.h"

#include "core/draw.h"
#include "render/bitmap_file_check.h"
#include "render/counter_digits.h"
#include "render/screen_model.h"
#include "web/wasm/page_export.h"

uint32_t screenPixels[ScreenWidth * ScreenHeight];

// The script's copy of the changed rectangle to the canvas; it reads the
// changed squares through ChangedSquares while it runs.
extern "C" __attribute__((import_module("env"), import_name("present"))) void PresentToCanvas(int left, int top,
                                                                                              int right, int bottom);

// The strip file the exe embeds (448 x 16 pixels of 8 bits with a palette),
// carried by the module the same way: its bytes, generated at build time
// from the build's tiles.bmp (tools/make_byte_array.py).
extern const unsigned char tileStripFile[];
extern const int tileStripFileSize;

namespace {

const unsigned char* const stripFile = tileStripFile;
uint32_t stripPixels[StripWidth * StripHeight];

uint32_t Read16(const unsigned char* p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8;
}

uint32_t Read32(const unsigned char* p)
{
    return Read16(p) | Read16(p + 2) << 16;
}

// A palette entry (blue, green, red, unused) as an opaque RGBA pixel in
// memory order, which is what the canvas reads.
uint32_t PaletteColour(const unsigned char* entry)
{
    return static_cast<uint32_t>(entry[2]) | static_cast<uint32_t>(entry[1]) << 8 |
           static_cast<uint32_t>(entry[0]) << 16 | 0xFF000000u;
}

void CopyTile(int tile, int left, int top)
{
    for (int y = 0; y < SquareSize; ++y) {
        const uint32_t* from = stripPixels + y * StripWidth + SquareSize * tile;
        uint32_t* to = screenPixels + (top + y) * ScreenWidth + left;
        for (int x = 0; x < SquareSize; ++x)
            to[x] = from[x];
    }
}

}  // namespace

// Decodes the module's strip file and fills the screen with black. 1 when
// the file is the 8-bit 448 x 16 strip.
PAGE_EXPORT(LoadStrip) int LoadStrip()
{
    const int size = tileStripFileSize;
    if (size < static_cast<int>(BitmapHeadersSize))
        return 0;
    if (!BitmapFileIsWhole(stripFile, BitmapHeadersSize, static_cast<uint64_t>(size)))
        return 0;
    const uint32_t dataOffset = Read32(stripFile + 10);
    const uint32_t infoSize = Read32(stripFile + 14);
    const int32_t width = static_cast<int32_t>(Read32(stripFile + 18));
    const int32_t height = static_cast<int32_t>(Read32(stripFile + 22));
    const uint32_t bits = Read16(stripFile + 28);
    const uint32_t compression = Read32(stripFile + 30);
    uint32_t colours = Read32(stripFile + 46);
    if (colours == 0)
        colours = 256;
    const uint32_t paletteOffset = 14 + infoSize;
    if (infoSize < 40 || width != StripWidth || (height != StripHeight && height != -StripHeight) ||
        bits != 8 || compression != 0 || colours > 256 ||
        paletteOffset + 4 * colours > dataOffset)
        return 0;
    constexpr int stride = (StripWidth + 3) / 4 * 4;
    for (int y = 0; y < SquareSize; ++y) {
        // A positive height is a bottom-up bitmap.
        const int fileRow = height > 0 ? SquareSize - 1 - y : y;
        const unsigned char* row = stripFile + dataOffset + fileRow * stride;
        for (int x = 0; x < StripWidth; ++x) {
            const uint32_t index = row[x] < colours ? row[x] : 0;
            stripPixels[y * StripWidth + x] = PaletteColour(stripFile + paletteOffset + 4 * index);
        }
    }
    for (uint32_t& pixel : screenPixels)
        pixel = 0xFF000000u;
    ResetScreenModel();
    return 1;
}

PAGE_EXPORT(ScreenPixels) uint32_t* ScreenPixels()
{
    return screenPixels;
}

PAGE_EXPORT(ScreenWidth) int PageScreenWidth()
{
    return ScreenWidth;
}

PAGE_EXPORT(ScreenHeight) int PageScreenHeight()
{
    return ScreenHeight;
}

// The squares drawn since the last presentation, as (column, row) pairs of
// 16-bit numbers, and how many.
PAGE_EXPORT(ChangedSquares) int16_t* ChangedSquares()
{
    return &changedSquares[0][0];
}

PAGE_EXPORT(ChangedSquareCount) int ChangedSquareCount()
{
    return changedSquareCount;
}

// The whole image is on the canvas: nothing waits to be presented.
PAGE_EXPORT(ForgetChanges) void PageForgetChanges()
{
    ForgetChanges();
}

void PresentChanges()
{
    if (changedRect[2] <= changedRect[0] && changedSquareCount == 0)
        return;
    PresentToCanvas(changedRect[0], changedRect[1], changedRect[2], changedRect[3]);
    ForgetChanges();
}

void DrawTile(int column, int row, int tile)
{
    if (!ShowTile(column, row, tile))
        return;
    CopyTile(tile, SquareLeft(column), SquareTop(row));
}

void DrawCounter()
{
    ShowCounter();
    for (int cell = 0; cell < CounterCells; ++cell)
        CopyTile(shownCounterTiles[cell], SquareSize * cell, 0);
}

PAGE_EXPORT(SquareSize) int PageSquareSize()
{
    return SquareSize;
}
