// make_tiles <tiles.txt> <out.bmp> [--preview <out.png>]
//
// Turns the text drawing of the tile strip into the bitmap that the program
// carries as its built-in strip: 28 tiles of 16 x 16 side by side, stored as
// a bottom-up 8-bit BMP whose palette is the colour key in file order.
// The optional preview is a PNG of the strip at four times the size with
// each tile's number under it, for looking at the art.
#include "byte_out.h"
#include "palette_out.h"
#include "png_out.h"
#include "tile_art.h"

#include <cstdio>
#include <string>

#include "core/draw.h"

namespace {

const int TileSize = StripHeight;
const int PaletteEntries = 256;

// Strip pixel (x, y), y from the top, as a palette index.
int StripPixel(const ArtFile& art, int x, int y)
{
    return ArtPixel(art, x / TileSize, x % TileSize, y);
}

// BITMAPFILEHEADER, BITMAPINFOHEADER, 256 RGBQUADs, then the rows from the
// bottom up. 448 bytes per row is already a multiple of 4: no padding.
Bytes EncodeStripBmp(const ArtFile& art)
{
    const std::uint32_t infoSize = 40;
    const std::uint32_t dataOffset = 14 + infoSize + PaletteEntries * 4;
    const std::uint32_t imageSize = StripWidth * TileSize;

    Bytes out;
    PutU8(out, 'B');
    PutU8(out, 'M');
    PutLe32(out, dataOffset + imageSize);  // file size
    PutLe16(out, 0);                       // reserved
    PutLe16(out, 0);
    PutLe32(out, dataOffset);

    PutLe32(out, infoSize);
    PutLe32(out, StripWidth);
    PutLe32(out, TileSize);  // positive height: bottom-up rows
    PutLe16(out, 1);         // planes
    PutLe16(out, 8);         // bits per pixel
    PutLe32(out, 0);         // BI_RGB, uncompressed
    PutLe32(out, imageSize);
    PutLe32(out, 2835);  // 72 dots per inch, in pixels per metre
    PutLe32(out, 2835);
    PutLe32(out, PaletteEntries);  // colours used
    PutLe32(out, 0);               // all colours important

    PutPalette(out, art, PaletteEntries);

    for (int y = TileSize - 1; y >= 0; --y) {
        for (int x = 0; x < StripWidth; ++x) PutU8(out, static_cast<std::uint32_t>(StripPixel(art, x, y)));
    }
    return out;
}

// 3 x 5 digits for the tile numbers of the preview, one string per row.
const char* const LabelFont[10][5] = {
    {"###", "#.#", "#.#", "#.#", "###"}, {".#.", "##.", ".#.", ".#.", "###"},
    {"###", "..#", "###", "#..", "###"}, {"###", "..#", ".##", "..#", "###"},
    {"#.#", "#.#", "###", "..#", "..#"}, {"###", "#..", "###", "..#", "###"},
    {"###", "#..", "###", "#.#", "###"}, {"###", "..#", ".#.", ".#.", ".#."},
    {"###", "#.#", "###", "#.#", "###"}, {"###", "#.#", "###", "..#", "###"},
};

struct Canvas {
    int width;
    int height;
    Bytes rgb;

    void Fill(int x, int y, int w, int h, ArtRgb colour)
    {
        for (int py = y; py < y + h; ++py) {
            for (int px = x; px < x + w; ++px) {
                std::size_t at = (static_cast<std::size_t>(py) * static_cast<std::size_t>(width) +
                                  static_cast<std::size_t>(px)) * 3;
                rgb[at] = colour.red;
                rgb[at + 1] = colour.green;
                rgb[at + 2] = colour.blue;
            }
        }
    }
};

const int PreviewScale = 4;
const int LabelScale = 2;
const int Margin = 8;
const int GlyphWidth = 3 * LabelScale;
const int GlyphGap = LabelScale;
const int LabelHeight = 5 * LabelScale;

void DrawLabel(Canvas& canvas, int centreX, int top, int number)
{
    std::string text = std::to_string(number);
    int width = static_cast<int>(text.size()) * (GlyphWidth + GlyphGap) - GlyphGap;
    int left = centreX - width / 2;
    const ArtRgb ink = {40, 40, 40};
    for (char c : text) {
        const char* const* glyph = LabelFont[c - '0'];
        for (int row = 0; row < 5; ++row) {
            for (int column = 0; column < 3; ++column) {
                if (glyph[row][column] == '#') {
                    canvas.Fill(left + column * LabelScale, top + row * LabelScale, LabelScale,
                                LabelScale, ink);
                }
            }
        }
        left += GlyphWidth + GlyphGap;
    }
}

Bytes EncodePreviewPng(const ArtFile& art)
{
    const int tilePixels = TileSize * PreviewScale;
    Canvas canvas;
    canvas.width = Margin * 2 + StripWidth * PreviewScale;
    canvas.height = Margin * 3 + tilePixels + LabelHeight;
    canvas.rgb.assign(static_cast<std::size_t>(canvas.width * canvas.height) * 3, 0);
    canvas.Fill(0, 0, canvas.width, canvas.height, {236, 236, 236});
    for (int y = 0; y < TileSize; ++y) {
        for (int x = 0; x < StripWidth; ++x) {
            canvas.Fill(Margin + x * PreviewScale, Margin + y * PreviewScale, PreviewScale,
                        PreviewScale, art.colours[static_cast<std::size_t>(StripPixel(art, x, y))].rgb);
        }
    }
    for (int tile = 0; tile < TileCount; ++tile) {
        DrawLabel(canvas, Margin + tile * tilePixels + tilePixels / 2, Margin * 2 + tilePixels, tile);
    }
    return EncodePng(canvas.width, canvas.height, canvas.rgb);
}

int Usage()
{
    std::fprintf(stderr, "usage: make_tiles <tiles.txt> <out.bmp> [--preview <out.png>]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3 && !(argc == 5 && std::string(argv[3]) == "--preview")) return Usage();

    ArtFile art;
    std::string error;
    if (!LoadArt(argv[1], {"tile", TileCount, TileSize, TileSize, false}, art, error)) {
        std::fprintf(stderr, "make_tiles: %s\n", error.c_str());
        return 1;
    }
    if (static_cast<int>(art.colours.size()) > PaletteEntries) {
        std::fprintf(stderr, "make_tiles: %s: more than %d colours\n", argv[1], PaletteEntries);
        return 1;
    }
    if (!SaveBytes(argv[2], EncodeStripBmp(art))) {
        std::fprintf(stderr, "make_tiles: cannot write %s\n", argv[2]);
        return 1;
    }
    if (argc == 5 && !SaveBytes(argv[4], EncodePreviewPng(art))) {
        std::fprintf(stderr, "make_tiles: cannot write %s\n", argv[4]);
        return 1;
    }
    return 0;
}
