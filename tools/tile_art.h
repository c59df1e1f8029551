// Reader for the pixel-art text files in resources/ (the tile strip and the
// icon). Such a file starts with a colour key and then holds numbered
// pictures, each a grid of characters, one character per pixel:
//
//   # comment
//   colour . 192 192 192 light grey
//   colour k 4 4 4 black
//   transparent _            (only where the layout allows it)
//   tile 0: covered square
//   ................         (height lines of exactly width characters)
//
// Pictures must appear in order 0, 1, 2, ... and all of them must be there.
// The order of the colour lines is the palette order the generators write.
// Platform-free and dependency-free so the build tools and the tests share it.
#ifndef TSWEEPER_TOOLS_TILE_ART_H
#define TSWEEPER_TOOLS_TILE_ART_H

#include <cstdint>
#include <istream>
#include <string>
#include <vector>

struct ArtRgb {
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
};

struct ArtColour {
    char symbol;
    ArtRgb rgb;
    std::string name;
};

// What a file must contain: `count` pictures of width x height pixels, each
// introduced by a header line "<keyword> <number>: <title>".
struct ArtLayout {
    std::string keyword;
    int count;
    int width;
    int height;
    bool transparencyAllowed;
};

// Pixel value of a transparent pixel; every other pixel is an index into
// ArtFile::colours.
constexpr int ArtTransparent = -1;

struct ArtPicture {
    std::string title;
    std::vector<int> pixels;  // row by row from the top, width * height values
};

struct ArtFile {
    std::vector<ArtColour> colours;
    char transparentSymbol = 0;  // 0 when the file declares none
    int width = 0;
    int height = 0;
    std::vector<ArtPicture> pictures;
};

// Reads a whole art file. On failure returns false and sets `error` to a
// message of the form "<sourceName>:<line>: <what is wrong>".
bool ParseArt(std::istream& in, const std::string& sourceName, const ArtLayout& layout,
              ArtFile& art, std::string& error);

// ParseArt on a file; a file that cannot be opened is reported in `error` too.
bool LoadArt(const std::string& path, const ArtLayout& layout, ArtFile& art, std::string& error);

// Palette index of pixel (x, y) of picture `picture` (ArtTransparent or >= 0).
int ArtPixel(const ArtFile& art, int picture, int x, int y);

// Colour of an opaque pixel (x, y) of picture `picture`.
ArtRgb ArtPixelRgb(const ArtFile& art, int picture, int x, int y);

#endif
