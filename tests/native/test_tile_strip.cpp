// The generated art: the built-in tile strip and the icon, checked from the
// bytes of the files that the build drew (with a reader of their own, not the
// generator's code), and the art-file reader's error reports.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <ostream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "tools/tile_art.h"

namespace {

// ---------------------------------------------------------------- colours

struct Rgb {
    int red, green, blue;
    bool operator==(const Rgb& other) const
    {
        return red == other.red && green == other.green && blue == other.blue;
    }
    bool operator!=(const Rgb& other) const { return !(*this == other); }
};

void PrintTo(const Rgb& c, std::ostream* out)
{
    *out << "(" << c.red << "," << c.green << "," << c.blue << ")";
}

const Rgb Face{192, 192, 192};
const Rgb MidGrey{128, 128, 128};
const Rgb Black{4, 4, 4};
const Rgb White{255, 255, 255};
const Rgb Red{255, 0, 0};
const Rgb DarkRed{128, 0, 0};
const Rgb Green{0, 255, 0};
const Rgb DarkGreen{0, 128, 0};
const Rgb Yellow{255, 255, 0};
const Rgb Blue{0, 0, 255};
const Rgb Magenta{255, 0, 255};
const Rgb Cyan{0, 255, 255};

// ---------------------------------------------------------------- file bytes

using Bytes = std::vector<std::uint8_t>;

Bytes ReadBytes(const char* path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::uint32_t Le16(const Bytes& b, std::size_t at)
{
    return static_cast<std::uint32_t>(b.at(at) | b.at(at + 1) << 8);
}

std::uint32_t Le32(const Bytes& b, std::size_t at)
{
    return Le16(b, at) | Le16(b, at + 2) << 16;
}

std::int32_t SignedLe32(const Bytes& b, std::size_t at)
{
    return static_cast<std::int32_t>(Le32(b, at));
}

// Palette entry i of a colour table of RGBQUADs (blue, green, red, 0).
Rgb Quad(const Bytes& b, std::size_t tableStart, int i)
{
    std::size_t at = tableStart + static_cast<std::size_t>(i) * 4;
    return {b.at(at + 2), b.at(at + 1), b.at(at)};
}

// ---------------------------------------------------------------- the strip

const int TileCount = 28;
const int FileHeaderSize = 14;
const int InfoHeaderSize = 40;
const int PaletteSize = 256 * 4;
const int PixelOffset = FileHeaderSize + InfoHeaderSize + PaletteSize;
const int StripWidth = 448;
const int StripHeight = 16;

struct Strip {
    Bytes bytes;
    bool readable = false;  // the header allows reading pixels as below

    // Colour of pixel (x, y) of tile `tile`, y from the top of the tile.
    Rgb At(int tile, int x, int y) const
    {
        std::size_t offset = Le32(bytes, 10);
        std::size_t row = static_cast<std::size_t>(StripHeight - 1 - y);  // stored bottom-up
        int index = bytes.at(offset + row * StripWidth + static_cast<std::size_t>(16 * tile + x));
        return Quad(bytes, FileHeaderSize + InfoHeaderSize, index);
    }
};

const Strip& TheStrip()
{
    static const Strip strip = [] {
        Strip s;
        s.bytes = ReadBytes(TILES_BMP_PATH);
        s.readable = s.bytes.size() >= static_cast<std::size_t>(PixelOffset) &&
                     Le32(s.bytes, 10) + StripWidth * StripHeight <= s.bytes.size() &&
                     SignedLe32(s.bytes, 18) == StripWidth &&
                     SignedLe32(s.bytes, 22) == StripHeight && Le16(s.bytes, 28) == 8;
        return s;
    }();
    return strip;
}

// Pictures lie in x 0-14, y 0-14; column 15 and row 15 are the frame's edge.
bool Interior(int x, int y)
{
    return x >= 0 && x <= 14 && y >= 0 && y <= 14;
}

// The covered look: white top and left, mid-grey inner and black outer
// shadow on the right and bottom. Returns false for pixels of the face.
bool RaisedFrame(int x, int y, Rgb& colour)
{
    if ((x == 15 && y == 0) || (x == 0 && y == 15))
        colour = MidGrey;
    else if (x == 15 || y == 15)
        colour = Black;
    else if ((x == 14 && y == 0) || (x == 0 && y == 14))
        colour = Face;
    else if (x == 14 || y == 14)
        colour = MidGrey;
    else if (x == 0 || y == 0)
        colour = White;
    else
        return false;
    return true;
}

// The opened look: a dotted line on the right and bottom edges.
Rgb FlatEdge(int x, int y, Rgb face, Rgb dots)
{
    bool dotted = (x == 15 && y % 2 == 1) || (y == 15 && x % 2 == 1);
    return dotted ? dots : face;
}

std::string Where(int tile, int x, int y)
{
    std::ostringstream s;
    s << "tile " << tile << " at (" << x << "," << y << ")";
    return s.str();
}

// A glyph drawn in one colour on a flat tile, with its drop shadow.
struct GlyphCase {
    int tile;
    Rgb colour;
    int left, right, top, bottom;  // the box no glyph pixel may leave
    bool fillsHeight;              // uses both the top and the bottom row of the box
};

std::vector<GlyphCase> ShadowedGlyphs()
{
    std::vector<GlyphCase> cases;
    const Rgb digitColours[8] = {Black, Red, Green, Yellow, Blue, Magenta, Cyan, White};
    for (int digit = 1; digit <= 8; ++digit)
        cases.push_back({3 + digit, digitColours[digit - 1], 3, 11, 2, 12, true});
    cases.push_back({12, Blue, 2, 12, 2, 12, false});
    cases.push_back({13, Red, 2, 12, 2, 12, false});
    for (int digit = 0; digit <= 9; ++digit)
        cases.push_back({16 + digit, Black, 3, 11, 2, 12, true});
    cases.push_back({26, Black, 2, 12, 7, 8, true});
    return cases;
}

// Glyph pixels of a tile as a 15 x 15 mask of the interior.
std::vector<bool> GlyphMask(int tile, Rgb colour)
{
    std::vector<bool> mask(15 * 15);
    for (int y = 0; y <= 14; ++y)
        for (int x = 0; x <= 14; ++x)
            mask[static_cast<std::size_t>(y * 15 + x)] = TheStrip().At(tile, x, y) == colour;
    return mask;
}

bool MaskAt(const std::vector<bool>& mask, int x, int y)
{
    return Interior(x, y) && mask[static_cast<std::size_t>(y * 15 + x)];
}

class TileStrip : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(TheStrip().readable)
            << TILES_BMP_PATH << " is missing or not a 448 x 16, 8-bit bitmap";
    }
    Rgb At(int tile, int x, int y) const { return TheStrip().At(tile, x, y); }
};

}  // namespace

TEST_F(TileStrip, FileAndInfoHeadersDescribeA448By16BottomUp8BitBitmap)
{
    const Bytes& b = TheStrip().bytes;
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    EXPECT_EQ(Le32(b, 2), b.size());
    EXPECT_EQ(b.size(), static_cast<std::size_t>(PixelOffset + StripWidth * StripHeight));
    EXPECT_EQ(Le32(b, 6), 0u);  // reserved
    EXPECT_EQ(Le32(b, 10), static_cast<std::uint32_t>(PixelOffset));
    EXPECT_EQ(Le32(b, 14), static_cast<std::uint32_t>(InfoHeaderSize));
    EXPECT_EQ(SignedLe32(b, 18), StripWidth);
    EXPECT_EQ(SignedLe32(b, 22), StripHeight);  // positive: rows stored bottom-up
    EXPECT_EQ(Le16(b, 26), 1u);                 // planes
    EXPECT_EQ(Le16(b, 28), 8u);                 // bits per pixel
    EXPECT_EQ(Le32(b, 30), 0u);                 // uncompressed
    const std::uint32_t imageSize = Le32(b, 34);
    EXPECT_TRUE(imageSize == 0 || imageSize == static_cast<std::uint32_t>(StripWidth * StripHeight)) << imageSize;
    EXPECT_EQ(Le32(b, 46), 256u);  // colours used
}

TEST_F(TileStrip, PaletteHoldsTheTwelveColoursInOrderAndNothingElse)
{
    const Rgb expected[12] = {Face, MidGrey, Black, White, Red, DarkRed,
                              Green, DarkGreen, Yellow, Blue, Magenta, Cyan};
    const Bytes& b = TheStrip().bytes;
    const std::size_t table = FileHeaderSize + InfoHeaderSize;
    for (int i = 0; i < 256; ++i) {
        Rgb want = i < 12 ? expected[i] : Rgb{0, 0, 0};
        EXPECT_EQ(Quad(b, table, i), want) << "palette entry " << i;
        EXPECT_EQ(b[table + static_cast<std::size_t>(i) * 4 + 3], 0) << "palette entry " << i;
    }
    for (std::size_t at = PixelOffset; at < b.size(); ++at)
        ASSERT_LT(b[at], 12) << "pixel byte " << at - PixelOffset << " uses an unused entry";
}

TEST_F(TileStrip, CoveredTilesHaveTheRaisedFrameAndAFaceOutsideTheirMark)
{
    struct Box {
        int left, right, top, bottom;
    };
    const Box marks[3] = {{1, 0, 1, 0}, {6, 9, 1, 13}, {3, 11, 1, 13}};  // tile 0: empty box
    for (int tile = 0; tile <= 2; ++tile) {
        const Box& box = marks[tile];
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                Rgb frame;
                bool inMark = x >= box.left && x <= box.right && y >= box.top && y <= box.bottom;
                if (RaisedFrame(x, y, frame)) {
                    EXPECT_EQ(At(tile, x, y), frame) << Where(tile, x, y);
                } else if (!inMark) {
                    EXPECT_EQ(At(tile, x, y), Face) << Where(tile, x, y);
                }
            }
        }
    }
}

TEST_F(TileStrip, MarksAreBlackWithAClosedMidGreyOutline)
{
    // Tile 1 (exclamation mark) and tile 2 (question mark): inside their
    // boxes only face, black and mid grey; every black pixel is bordered by
    // black or mid grey, and every mid-grey pixel touches black.
    for (int tile = 1; tile <= 2; ++tile) {
        int blackPixels = 0;
        for (int y = 1; y <= 13; ++y) {
            for (int x = 1; x <= 13; ++x) {
                Rgb c = At(tile, x, y);
                ASSERT_TRUE(c == Face || c == Black || c == MidGrey) << Where(tile, x, y);
                if (c == Black) {
                    ++blackPixels;
                    const int around[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
                    for (const auto& d : around) {
                        Rgb n = At(tile, x + d[0], y + d[1]);
                        EXPECT_TRUE(n == Black || n == MidGrey)
                            << Where(tile, x, y) << " is not outlined towards "
                            << Where(tile, x + d[0], y + d[1]);
                    }
                } else if (c == MidGrey) {
                    bool touchesBlack = false;
                    for (int dy = -1; dy <= 1; ++dy)
                        for (int dx = -1; dx <= 1; ++dx)
                            touchesBlack = touchesBlack || At(tile, x + dx, y + dy) == Black;
                    EXPECT_TRUE(touchesBlack) << Where(tile, x, y) << " is grey but outlines nothing";
                }
            }
        }
        EXPECT_GT(blackPixels, 12) << "tile " << tile;
    }
}

TEST_F(TileStrip, OpenedTilesHaveTheDottedFlatFrame)
{
    for (int tile = 3; tile < TileCount; ++tile) {
        Rgb face = tile == 15 ? Red : Face;
        Rgb dots = tile == 15 ? DarkRed : MidGrey;
        for (int i = 0; i < 16; ++i) {
            EXPECT_EQ(At(tile, 15, i), FlatEdge(15, i, face, dots)) << Where(tile, 15, i);
            EXPECT_EQ(At(tile, i, 15), FlatEdge(i, 15, face, dots)) << Where(tile, i, 15);
        }
    }
}

TEST_F(TileStrip, BlankTilesAreAllFaceAndTile27EqualsTile3)
{
    for (int tile : {3, 27}) {
        for (int y = 0; y <= 14; ++y)
            for (int x = 0; x <= 14; ++x)
                EXPECT_EQ(At(tile, x, y), Face) << Where(tile, x, y);
    }
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            EXPECT_EQ(At(27, x, y), At(3, x, y)) << "(" << x << "," << y << ")";
}

TEST_F(TileStrip, CounterDigitOneIsTheBoardsDigitOne)
{
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            EXPECT_EQ(At(17, x, y), At(4, x, y)) << "(" << x << "," << y << ")";
}

TEST_F(TileStrip, GlyphsKeepToTheirBoxColourAndShadow)
{
    for (const GlyphCase& g : ShadowedGlyphs()) {
        bool topUsed = false, bottomUsed = false;
        int glyphPixels = 0;
        for (int y = 0; y <= 14; ++y) {
            for (int x = 0; x <= 14; ++x) {
                Rgb c = At(g.tile, x, y);
                if (c == g.colour) {
                    ++glyphPixels;
                    EXPECT_TRUE(x >= g.left && x <= g.right && y >= g.top && y <= g.bottom)
                        << Where(g.tile, x, y) << " lies outside the glyph's box";
                    topUsed = topUsed || y == g.top;
                    bottomUsed = bottomUsed || y == g.bottom;
                } else {
                    EXPECT_TRUE(c == Face || c == MidGrey)
                        << Where(g.tile, x, y) << " has a foreign colour";
                }
            }
        }
        EXPECT_GT(glyphPixels, 12) << "tile " << g.tile;
        if (g.fillsHeight) {
            EXPECT_TRUE(topUsed) << "tile " << g.tile << " leaves its top row empty";
            EXPECT_TRUE(bottomUsed) << "tile " << g.tile << " leaves its bottom row empty";
        }
    }
}

TEST_F(TileStrip, EveryGlyphPixelCastsAOnePixelShadowAndNoShadowStandsAlone)
{
    for (const GlyphCase& g : ShadowedGlyphs()) {
        for (int y = 0; y <= 14; ++y) {
            for (int x = 0; x <= 14; ++x) {
                Rgb c = At(g.tile, x, y);
                if (c == g.colour && y < 14) {
                    Rgb below = At(g.tile, x, y + 1);
                    EXPECT_TRUE(below == g.colour || below == MidGrey)
                        << Where(g.tile, x, y + 1) << " should be shadow";
                }
                if (c == MidGrey) {
                    EXPECT_TRUE(y > 0 && At(g.tile, x, y - 1) == g.colour)
                        << Where(g.tile, x, y) << " is shadow without a glyph above";
                }
            }
        }
    }
}

TEST_F(TileStrip, MinusSignIsTheExactBarAndShadow)
{
    for (int y = 0; y <= 14; ++y) {
        for (int x = 0; x <= 14; ++x) {
            bool across = x >= 2 && x <= 12;
            Rgb want = across && (y == 7 || y == 8) ? Black : across && y == 9 ? MidGrey : Face;
            EXPECT_EQ(At(26, x, y), want) << Where(26, x, y);
        }
    }
}

TEST_F(TileStrip, GlyphStrokesAreNeverOnePixelThin)
{
    // A pixel with no glyph neighbour to its left or right belongs to a
    // one-pixel-wide upright stroke. A pixel with none above or below it
    // belongs to a one-pixel-high bar, unless it is a stroke's end: a run of
    // at most two pixels.
    for (const GlyphCase& g : ShadowedGlyphs()) {
        std::vector<bool> mask = GlyphMask(g.tile, g.colour);
        for (int y = 0; y <= 14; ++y) {
            for (int x = 0; x <= 14; ++x) {
                if (!MaskAt(mask, x, y))
                    continue;
                EXPECT_TRUE(MaskAt(mask, x - 1, y) || MaskAt(mask, x + 1, y))
                    << Where(g.tile, x, y) << " is in a one-pixel-wide stroke";
                int runLeft = x, runRight = x;
                while (MaskAt(mask, runLeft - 1, y))
                    --runLeft;
                while (MaskAt(mask, runRight + 1, y))
                    ++runRight;
                if (runRight - runLeft + 1 > 2) {
                    EXPECT_TRUE(MaskAt(mask, x, y - 1) || MaskAt(mask, x, y + 1))
                        << Where(g.tile, x, y) << " is in a one-pixel-high bar";
                }
            }
        }
    }
}

TEST_F(TileStrip, CounterDigitsShareTheBoardDigitsShapesAndDifferFromEachOther)
{
    const Rgb digitColours[8] = {Black, Red, Green, Yellow, Blue, Magenta, Cyan, White};
    for (int digit = 1; digit <= 8; ++digit) {
        EXPECT_EQ(GlyphMask(16 + digit, Black), GlyphMask(3 + digit, digitColours[digit - 1]))
            << "digit " << digit;
    }
    for (int a = 0; a <= 9; ++a)
        for (int b = a + 1; b <= 9; ++b)
            EXPECT_NE(GlyphMask(16 + a, Black), GlyphMask(16 + b, Black)) << a << " and " << b;
}

namespace {

// The bomb picture as spans [from, to] per row, and which part each row is.
enum class BombPart { Leaf, Ball, Disc };

struct BombRow {
    int y;
    BombPart part;
    std::vector<std::pair<int, int>> spans;
};

const std::vector<BombRow>& BombRows()
{
    static const std::vector<BombRow> rows = {
        {1, BombPart::Leaf, {{7, 9}}},  {2, BombPart::Ball, {{6, 8}}},
        {3, BombPart::Ball, {{5, 9}}},  {4, BombPart::Ball, {{6, 8}}},
        {5, BombPart::Disc, {{4, 10}}}, {6, BombPart::Disc, {{3, 11}}},
        {7, BombPart::Disc, {{3, 11}}}, {8, BombPart::Disc, {{4, 10}}},
        {9, BombPart::Disc, {{2, 3}, {11, 12}}},
        {10, BombPart::Disc, {{1, 13}}}, {11, BombPart::Disc, {{1, 13}}},
        {12, BombPart::Disc, {{1, 13}}}, {13, BombPart::Disc, {{2, 12}}},
    };
    return rows;
}

struct BombColours {
    int tile;
    Rgb background, leaf, ball, disc;
};

}  // namespace

TEST_F(TileStrip, BombTilesShowTheBombRowByRowAndNothingElse)
{
    const BombColours tiles[2] = {{14, Face, DarkGreen, Yellow, White},
                                  {15, Red, Blue, Green, Black}};
    for (const BombColours& t : tiles) {
        for (int y = 0; y <= 14; ++y) {
            for (int x = 0; x <= 14; ++x) {
                Rgb want = t.background;  // so no shadow anywhere on tile 14
                for (const BombRow& row : BombRows()) {
                    for (const auto& span : row.spans) {
                        if (row.y == y && x >= span.first && x <= span.second) {
                            want = row.part == BombPart::Leaf   ? t.leaf
                                   : row.part == BombPart::Ball ? t.ball
                                                                : t.disc;
                        }
                    }
                }
                EXPECT_EQ(At(t.tile, x, y), want) << Where(t.tile, x, y);
            }
        }
    }
}

// ---------------------------------------------------------------- the icon

TEST(Icon, DirectoryAndHeaderDescribeOne32By32ImageIn16Colours)
{
    const Bytes b = ReadBytes(ICON_ICO_PATH);
    ASSERT_GE(b.size(), 22u + 40u) << ICON_ICO_PATH << " is missing or truncated";
    EXPECT_EQ(Le16(b, 0), 0u);  // reserved
    EXPECT_EQ(Le16(b, 2), 1u);  // icon, not cursor
    EXPECT_EQ(Le16(b, 4), 1u);  // one image
    EXPECT_EQ(b[6], 32);        // width
    EXPECT_EQ(b[7], 32);        // height
    EXPECT_EQ(b[8], 16);        // colours
    const std::uint32_t imageBytes = Le32(b, 14);
    const std::uint32_t imageOffset = Le32(b, 18);
    EXPECT_EQ(imageOffset, 22u);
    EXPECT_EQ(imageOffset + imageBytes, b.size());

    const std::size_t info = imageOffset;
    EXPECT_EQ(Le32(b, info), 40u);
    EXPECT_EQ(SignedLe32(b, info + 4), 32);
    EXPECT_EQ(SignedLe32(b, info + 8), 64);  // colour bitmap and mask stacked
    EXPECT_EQ(Le16(b, info + 12), 1u);
    EXPECT_EQ(Le16(b, info + 14), 4u);
    EXPECT_EQ(Le32(b, info + 16), 0u);
    // Header, 16 RGBQUADs, 32 rows of 16 bytes, 32 mask rows of 4 bytes.
    EXPECT_EQ(imageBytes, 40u + 16 * 4 + 32 * 16 + 32 * 4);
}

TEST(Icon, TransparentPixelsAreBlackUnderTheMaskAndMostPixelsAreOpaque)
{
    // The screen shows (screen AND mask) XOR colour: where the mask is set
    // the colour must be exact black, or the desktop shows through tinted.
    const Bytes b = ReadBytes(ICON_ICO_PATH);
    ASSERT_EQ(b.size(), 22u + 40 + 16 * 4 + 32 * 16 + 32 * 4);
    const std::size_t palette = 22 + 40;
    const std::size_t colours = palette + 16 * 4;
    const std::size_t mask = colours + 32 * 16;
    int opaque = 0;
    for (int row = 0; row < 32; ++row) {
        for (int x = 0; x < 32; ++x) {
            int pair = b[colours + static_cast<std::size_t>(row * 16 + x / 2)];
            int index = x % 2 == 0 ? pair >> 4 : pair & 0x0F;
            bool transparent = (b[mask + static_cast<std::size_t>(row * 4 + x / 8)] >> (7 - x % 8)) & 1;
            if (transparent) {
                EXPECT_EQ(Quad(b, palette, index), (Rgb{0, 0, 0})) << "row " << row << ", x " << x;
            } else {
                ++opaque;
            }
        }
    }
    EXPECT_GT(opaque, 32 * 32 * 3 / 4);
}

// ---------------------------------------------------------------- the reader

namespace {

const ArtLayout SmallTiles{"tile", 2, 4, 2, false};

const char* const GoodHeader =
    "# two tiles of 4 x 2\n"
    "colour . 192 192 192 light grey\n"
    "colour k 4 4 4 black\n";

struct BadArtCase {
    const char* what;
    std::string text;
    std::string message;  // expected in the error, with the line number
};

}  // namespace

TEST(ArtReader, ReadsPixelsAsPaletteIndicesAndColours)
{
    std::istringstream in(std::string(GoodHeader) +
                          "tile 0: first\n"
                          "..kk\n"
                          "k...\n"
                          "\n"
                          "tile 1: second\r\n"
                          "kkkk\r\n"
                          "....\r\n");
    ArtFile art;
    std::string error;
    ASSERT_TRUE(ParseArt(in, "small.txt", SmallTiles, art, error)) << error;
    ASSERT_EQ(art.colours.size(), 2u);
    EXPECT_EQ(art.colours[1].symbol, 'k');
    EXPECT_EQ(art.colours[1].name, "black");
    ASSERT_EQ(art.pictures.size(), 2u);
    EXPECT_EQ(art.pictures[1].title, "second");
    EXPECT_EQ(art.pictures[0].pixels, (std::vector<int>{0, 0, 1, 1, 1, 0, 0, 0}));
    EXPECT_EQ(art.pictures[1].pixels, (std::vector<int>{1, 1, 1, 1, 0, 0, 0, 0}));
    ArtRgb rgb = ArtPixelRgb(art, 0, 3, 0);
    EXPECT_EQ((Rgb{rgb.red, rgb.green, rgb.blue}), Black);
}

TEST(ArtReader, ReportsWhatIsWrongAndOnWhichLine)
{
    const std::string header = GoodHeader;  // lines 1-3
    const BadArtCase cases[] = {
        {"row too short", header + "tile 0: a\n..k\n....\n",
         "small.txt:5: tile 0, row 0 has 3 characters, expected 4"},
        {"row too long", header + "tile 0: a\n....\n.....\n",
         "small.txt:6: tile 0, row 1 has 5 characters, expected 4"},
        {"unknown character", header + "tile 0: a\n....\n..x.\n",
         "small.txt:6: tile 0, row 1, column 2: 'x' is not in the colour key"},
        {"tile skipped", header + "tile 0: a\n....\n....\ntile 2: c\n",
         "small.txt:7: tile 1 is missing"},
        {"file ends before the last tile", header + "tile 0: a\n....\n....\n",
         "small.txt:6: file ends before tile 1"},
        {"file ends inside a tile", header + "tile 0: a\n....\n....\ntile 1: b\n....\n",
         "small.txt:8: file ends inside tile 1 after 1 of 2 rows"},
        {"too many tiles", header + "tile 0: a\n....\n....\ntile 1: b\n....\n....\ntile 2: c\n",
         "small.txt:10: too many pictures"},
        {"duplicate colour", header + "colour k 0 0 0 also black\n",
         "small.txt:4: 'k' is already in the colour key"},
        {"component out of range", "colour . 192 300 192\n",
         "small.txt:1: colour components must be 0 to 255"},
        {"transparency where none is allowed", header + "transparent _\n",
         "small.txt:4: this file cannot have transparent pixels"},
        {"colour after the pictures", header + "tile 0: a\n....\n....\ncolour w 255 255 255\n",
         "small.txt:7: the colour key must come before the first tile"},
        {"stray text", header + "hello\n", "small.txt:4: expected a colour line"},
    };
    for (const BadArtCase& c : cases) {
        std::istringstream in(c.text);
        ArtFile art;
        std::string error;
        EXPECT_FALSE(ParseArt(in, "small.txt", SmallTiles, art, error)) << c.what;
        EXPECT_NE(error.find(c.message), std::string::npos)
            << c.what << ": got \"" << error << "\", expected it to contain \"" << c.message << "\"";
    }
}

TEST(ArtReader, TransparentCharacterWhereTheLayoutAllowsIt)
{
    std::istringstream in(std::string(GoodHeader) + "transparent _\ntile 0: a\n_.k_\n....\n");
    ArtFile art;
    std::string error;
    ASSERT_TRUE(ParseArt(in, "icon.txt", {"tile", 1, 4, 2, true}, art, error)) << error;
    EXPECT_EQ(art.pictures[0].pixels,
              (std::vector<int>{ArtTransparent, 0, 1, ArtTransparent, 0, 0, 0, 0}));
}

TEST(ArtReader, MissingFileIsReportedByName)
{
    ArtFile art;
    std::string error;
    EXPECT_FALSE(LoadArt("no-such-dir/no-such-art.txt", SmallTiles, art, error));
    EXPECT_NE(error.find("no-such-dir/no-such-art.txt"), std::string::npos) << error;
}
