// make_icon <icon.txt> <out.ico> [--png SIZE out.png]...
//
// Turns the text drawing of the program icon into an .ico file holding one
// 32 x 32 image in 16 colours: the directory, then a BITMAPINFOHEADER whose
// height counts both bitmaps (64), the 16-entry palette, the 4-bit colour
// bitmap and the 1-bit transparency mask, both stored bottom-up.
// Each --png writes the same art as a SIZE x SIZE PNG for the page's web app
// manifest, every pixel of the art a square of SIZE / 32 pixels (SIZE a
// whole multiple of 32), transparent where the art is.
#include "byte_out.h"
#include "palette_out.h"
#include "png_out.h"
#include "tile_art.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

const int IconSize = 32;
const int PaletteEntries = 16;
const int ColourRowBytes = IconSize / 2;  // 4 bits per pixel; 16 is a multiple of 4
const int MaskRowBytes = 4;               // 32 bits, already a multiple of 4

// Windows draws an icon as (screen AND mask) XOR colour, so a transparent
// pixel needs mask bit 1 and a colour of exact black (0, 0, 0). The palette
// index of such a black, or -1 when the palette has none to spare.
int TransparentIndex(const ArtFile& art)
{
    int colours = static_cast<int>(art.colours.size());
    if (colours < PaletteEntries) return colours;  // the first unused entry is zero
    for (int i = 0; i < colours; ++i) {
        ArtRgb rgb = art.colours[static_cast<std::size_t>(i)].rgb;
        if (rgb.red == 0 && rgb.green == 0 && rgb.blue == 0) return i;
    }
    return -1;
}

Bytes EncodeIcon(const ArtFile& art, int transparentIndex)
{
    const std::uint32_t infoSize = 40;
    const std::uint32_t colourBytes = ColourRowBytes * IconSize;
    const std::uint32_t maskBytes = MaskRowBytes * IconSize;
    const std::uint32_t imageBytes = infoSize + PaletteEntries * 4 + colourBytes + maskBytes;
    const std::uint32_t directorySize = 6 + 16;

    Bytes out;
    PutLe16(out, 0);  // reserved
    PutLe16(out, 1);  // resource type: icon
    PutLe16(out, 1);  // one image

    PutU8(out, IconSize);        // width
    PutU8(out, IconSize);        // height
    PutU8(out, PaletteEntries);  // colour count
    PutU8(out, 0);               // reserved
    PutLe16(out, 1);             // planes
    PutLe16(out, 4);             // bits per pixel
    PutLe32(out, imageBytes);
    PutLe32(out, directorySize);  // where the image starts

    PutLe32(out, infoSize);
    PutLe32(out, IconSize);
    PutLe32(out, IconSize * 2);  // colour bitmap and mask stacked
    PutLe16(out, 1);
    PutLe16(out, 4);
    PutLe32(out, 0);  // BI_RGB
    PutLe32(out, colourBytes + maskBytes);
    PutLe32(out, 0);
    PutLe32(out, 0);
    PutLe32(out, 0);  // colours used: all 16
    PutLe32(out, 0);

    PutPalette(out, art, PaletteEntries);

    for (int y = IconSize - 1; y >= 0; --y) {
        for (int x = 0; x < IconSize; x += 2) {
            int pair[2];
            for (int i = 0; i < 2; ++i) {
                int index = ArtPixel(art, 0, x + i, y);
                pair[i] = index == ArtTransparent ? transparentIndex : index;
            }
            PutU8(out, static_cast<std::uint32_t>(pair[0] << 4 | pair[1]));  // left pixel high
        }
    }
    for (int y = IconSize - 1; y >= 0; --y) {
        std::uint32_t bits = 0;  // leftmost pixel in the most significant bit of the first byte
        for (int x = 0; x < IconSize; ++x) {
            if (ArtPixel(art, 0, x, y) == ArtTransparent) bits |= 0x80000000u >> x;
        }
        PutU8(out, bits >> 24);
        PutU8(out, bits >> 16);
        PutU8(out, bits >> 8);
        PutU8(out, bits);
    }
    return out;
}

// The art scaled by a whole `scale`: its colours, then one fully
// transparent entry when the art has transparent pixels.
Bytes EncodeScaledPng(const ArtFile& art, int scale)
{
    std::vector<std::array<std::uint8_t, 3>> palette;
    for (const ArtColour& colour : art.colours) palette.push_back({colour.rgb.red, colour.rgb.green, colour.rgb.blue});
    const int transparent = static_cast<int>(palette.size());
    Bytes alpha;
    if (art.transparentSymbol != 0) {
        palette.push_back({0, 0, 0});
        alpha.assign(palette.size(), 255);
        alpha.back() = 0;
    }
    const int size = IconSize * scale;
    Bytes indices;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const int index = ArtPixel(art, 0, x / scale, y / scale);
            PutU8(indices, static_cast<std::uint32_t>(index == ArtTransparent ? transparent : index));
        }
    }
    return EncodePalettePng(size, size, palette, alpha, indices);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3 || (argc - 3) % 3 != 0) {
        std::fprintf(stderr, "usage: make_icon <icon.txt> <out.ico> [--png SIZE out.png]...\n");
        return 2;
    }
    for (int i = 3; i < argc; i += 3) {
        const int size = std::atoi(argv[i + 1]);
        if (std::string(argv[i]) != "--png" || size < IconSize || size % IconSize != 0) {
            std::fprintf(stderr, "make_icon: --png needs a size that is a whole multiple of %d, not %s\n",
                         IconSize, argv[i + 1]);
            return 2;
        }
    }
    ArtFile art;
    std::string error;
    if (!LoadArt(argv[1], {"icon", 1, IconSize, IconSize, true}, art, error)) {
        std::fprintf(stderr, "make_icon: %s\n", error.c_str());
        return 1;
    }
    if (static_cast<int>(art.colours.size()) > PaletteEntries) {
        std::fprintf(stderr, "make_icon: %s: more than %d colours\n", argv[1], PaletteEntries);
        return 1;
    }
    int transparentIndex = TransparentIndex(art);
    if (art.transparentSymbol != 0 && transparentIndex < 0) {
        std::fprintf(stderr,
                     "make_icon: %s: transparency needs a palette entry of 0 0 0; use at most %d "
                     "colours or include that black\n",
                     argv[1], PaletteEntries - 1);
        return 1;
    }
    if (!SaveBytes(argv[2], EncodeIcon(art, transparentIndex))) {
        std::fprintf(stderr, "make_icon: cannot write %s\n", argv[2]);
        return 1;
    }
    for (int i = 3; i < argc; i += 3) {
        if (!SaveBytes(argv[i + 2], EncodeScaledPng(art, std::atoi(argv[i + 1]) / IconSize))) {
            std::fprintf(stderr, "make_icon: cannot write %s\n", argv[i + 2]);
            return 1;
        }
    }
    return 0;
}
