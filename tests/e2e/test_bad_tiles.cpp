// Tile strip files of every kind named by "PanelBMP": the program never fails
// or complains, and shows the file's whole tiles, completed by built-in ones
// from the first tile the file lacks; with no bitmap, the built-in strip.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "tests/e2e/driver.h"
#include "tests/e2e/game_model.h"
#include "tests/support/bmp_file.h"

namespace {

constexpr int StripTiles = TileCount;

unsigned Rgb(int r, int g, int b)
{
    return (static_cast<unsigned>(r & 255) << 16) | (static_cast<unsigned>(g & 255) << 8) |
           static_cast<unsigned>(b & 255);
}

// Each tile of a test strip is a picture of its own, told apart from every
// other tile and from the built-in ones. A pixel function gives 0x00RRGGBB
// for 24 and 32 bits, a palette index for 1 and 4 bits.
unsigned TrueColourPixel(int x, int y)
{
    const int n = x / SquareSize, tx = x % SquareSize, ty = y % SquareSize;
    if (y >= SquareSize || x >= SquareSize * StripTiles)
        return Rgb(x * 3, y * 5, 77);
    if (tx == ty || tx == 15 - ty)
        return Rgb(255 - 3 * n, 9 * n, 128);
    return Rgb(40 + 7 * n, 200 - 5 * n, 53 * n);
}

const std::vector<unsigned> SixteenColours = [] {
    std::vector<unsigned> palette;
    for (int i = 0; i < 16; ++i)
        palette.push_back(Rgb(16 * i + 8, 255 - 16 * i, 80 * i));
    return palette;
}();

unsigned SixteenColourIndex(int x, int y)
{
    const int n = x / 16, tx = x % 16;
    if (y < 8)
        return static_cast<unsigned>(n % 16);
    return static_cast<unsigned>(tx < 8 ? n / 16 : (n / 16 + 5) % 16);
}

const std::vector<unsigned> TwoColours = {Rgb(0, 0, 128), Rgb(255, 128, 0)};

// Tile n shows a frame on its top and left edges and the bits of n + 1 as bars.
unsigned TwoColourIndex(int x, int y)
{
    const int n = x / 16, tx = x % 16;
    if (y == 0 || tx == 0)
        return 1;
    if (tx >= 2 && tx < 14 && (((n + 1) >> ((tx - 2) / 2)) & 1))
        return 1;
    return 0;
}

// The 448 x 16 picture a strip file is meant to show.
Picture PictureOf(const std::function<unsigned(int, int)>& colour)
{
    Picture strip(SquareSize * StripTiles, SquareSize);
    for (int y = 0; y < strip.height; ++y)
        for (int x = 0; x < strip.width; ++x)
            strip.Set(x, y, colour(x, y));
    return strip;
}

// The file's first `fileTiles` tiles, then the built-in ones.
Picture Completed(const Picture& file, int fileTiles)
{
    Picture strip = BuiltInStrip();
    for (int y = 0; y < SquareSize; ++y)
        for (int x = 0; x < SquareSize * fileTiles; ++x)
            strip.pixels[static_cast<size_t>(y) * strip.width + x] = file.At(x, y);
    return strip;
}

// What the platform's own loader makes of a file, as the program loads it:
// the strip the screen must then show.
Picture StripFromLoader(const std::string& path)
{
    HBITMAP bitmap = static_cast<HBITMAP>(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    if (!bitmap)
        return BuiltInStrip();
    const Picture file = PictureOfBitmap(bitmap);
    DeleteObject(bitmap);
    int tiles = file.height >= SquareSize ? file.width / SquareSize : 0;
    if (tiles > StripTiles)
        tiles = StripTiles;
    return tiles > 0 ? Completed(file, tiles) : BuiltInStrip();
}

// Squares and counter cells whose pixels differ from the expected tile of `strip`.
std::string Differences(const Picture& shown, const Screen& expected, const Picture& strip)
{
    std::string text;
    auto check = [&](int x, int y, int tile, const std::string& where) {
        for (int dy = 0; dy < SquareSize; ++dy)
            for (int dx = 0; dx < SquareSize; ++dx)
                if (x + dx >= shown.width || y + dy >= shown.height ||
                    shown.At(x + dx, y + dy) != strip.At(SquareSize * tile + dx, dy)) {
                    char pixels[80];
                    snprintf(pixels, sizeof pixels, " (pixel %d,%d is %06x, not %06x)", dx, dy,
                             x + dx < shown.width && y + dy < shown.height ? shown.At(x + dx, y + dy) : 0u,
                             strip.At(SquareSize * tile + dx, dy));
                    text += where + " should show tile " + std::to_string(tile) + pixels + "; ";
                    return;
                }
    };
    for (int cell = 0; cell < 4; ++cell)
        check(SquareSize * cell, 0, expected.counter[cell], "counter cell " + std::to_string(cell));
    for (int column = 0; column < expected.columns; ++column)
        for (int row = 0; row < expected.rows; ++row)
            check(SquareLeft(column), SquareTop(row), expected.Square(column, row),
                  "square " + std::to_string(column) + "," + std::to_string(row));
    return text;
}

std::string WaitForPicture(const GameRun& game, const Screen& expected, const Picture& strip)
{
    std::string differences;
    WaitUntil([&] {
        differences = Differences(game.Capture(), expected, strip);
        return differences.empty();
    });
    return differences;
}

std::string Narrow(const std::wstring& wide)
{
    char buffer[MAX_PATH * 2];
    WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, buffer, sizeof buffer, nullptr, nullptr);
    return buffer;
}

void WriteBytes(const std::wstring& path, const std::string& bytes)
{
    std::ofstream file(path.c_str(), std::ios::binary);
    file << bytes;
}

enum class Expect {
    FileTiles,  // the strip from the test's own pixels, completed where short
    // A file whose pixel data is all there but whose header states an
    // image size the loader may trust or ignore: either the built-in strip
    // or the loader's bitmap, completed, is right. Files whose pixel data is
    // cut short never reach the loader and always give the built-in strip.
    Loader,
};

struct StripCase {
    const char* name;
    // Writes the file (or folder) into the game folder; returns the PanelBMP value.
    std::function<std::string(const std::wstring& folder)> make;
    Expect expect;
    std::function<unsigned(int, int)> colour;  // the file's picture, for FileTiles
    int fileTiles;                             // whole tiles the file holds, 0 to 28
};

std::string WriteStrip(const std::wstring& folder, const std::string& bytes)
{
    const std::wstring path = folder + L"strip.bmp";
    WriteBytes(path, bytes);
    return Narrow(path);
}

std::string FullTrueColour(int bits)
{
    return BmpFileBytes(448, 16, bits, TrueColourPixel);
}

std::string WithField(std::string bytes, size_t offset, unsigned value)
{
    for (int i = 0; i < 4; ++i)
        bytes[offset + static_cast<size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
    return bytes;
}

std::vector<StripCase> StripCases()
{
    auto paletteColour = [](const std::vector<unsigned>& palette, unsigned (*index)(int, int)) {
        return [palette, index](int x, int y) { return palette[index(x, y)]; };
    };
    return {
        {"folder", [](const std::wstring& folder) { return Narrow(folder.substr(0, folder.size() - 1)); },
         Expect::FileTiles, TrueColourPixel, 0},
        {"missing", [](const std::wstring& folder) { return Narrow(folder + L"no-such.bmp"); },
         Expect::FileTiles, TrueColourPixel, 0},
        {"empty", [](const std::wstring& folder) { return WriteStrip(folder, ""); }, Expect::FileTiles,
         TrueColourPixel, 0},
        {"not_a_bitmap", [](const std::wstring& folder) { return WriteStrip(folder, "[Set]\r\nX=12\r\n"); },
         Expect::FileTiles, TrueColourPixel, 0},
        {"truncated",
         [](const std::wstring& folder) {
             const std::string full = FullTrueColour(24);
             return WriteStrip(folder, full.substr(0, 54 + (full.size() - 54) / 2));
         },
         Expect::FileTiles, TrueColourPixel, 0},
        {"pixels_offset_beyond_end",
         [](const std::wstring& folder) { return WriteStrip(folder, WithField(FullTrueColour(24), 10, 1000000)); },
         Expect::FileTiles, TrueColourPixel, 0},
        {"huge_image_size",
         [](const std::wstring& folder) { return WriteStrip(folder, WithField(FullTrueColour(24), 34, 0x7FFFFFF0)); },
         Expect::Loader, nullptr, 0},
        {"huge_width_in_header",
         [](const std::wstring& folder) { return WriteStrip(folder, WithField(FullTrueColour(24), 18, 100000)); },
         Expect::FileTiles, TrueColourPixel, 0},
        {"one_pixel", [](const std::wstring& folder) { return WriteStrip(folder, BmpFileBytes(1, 1, 24, TrueColourPixel)); },
         Expect::FileTiles, TrueColourPixel, 0},
        {"one_tile", [](const std::wstring& folder) { return WriteStrip(folder, BmpFileBytes(16, 16, 24, TrueColourPixel)); },
         Expect::FileTiles, TrueColourPixel, 1},
        {"six_and_a_half_tiles",
         [](const std::wstring& folder) { return WriteStrip(folder, BmpFileBytes(104, 16, 24, TrueColourPixel)); },
         Expect::FileTiles, TrueColourPixel, 6},
        {"one_row_short",
         [](const std::wstring& folder) { return WriteStrip(folder, BmpFileBytes(448, 15, 24, TrueColourPixel)); },
         Expect::FileTiles, TrueColourPixel, 0},
        {"wide_20000",
         [](const std::wstring& folder) { return WriteStrip(folder, BmpFileBytes(20000, 16, 24, TrueColourPixel)); },
         Expect::FileTiles, TrueColourPixel, 28},
        {"tall_2048",
         [](const std::wstring& folder) { return WriteStrip(folder, BmpFileBytes(448, 2048, 24, TrueColourPixel)); },
         Expect::FileTiles, TrueColourPixel, 28},
        {"full_1_bit",
         [](const std::wstring& folder) {
             return WriteStrip(folder, BmpFileBytes(448, 16, 1, TwoColourIndex, TwoColours));
         },
         Expect::FileTiles, paletteColour(TwoColours, TwoColourIndex), 28},
        {"full_4_bits",
         [](const std::wstring& folder) {
             return WriteStrip(folder, BmpFileBytes(448, 16, 4, SixteenColourIndex, SixteenColours));
         },
         Expect::FileTiles, paletteColour(SixteenColours, SixteenColourIndex), 28},
        {"full_24_bits", [](const std::wstring& folder) { return WriteStrip(folder, FullTrueColour(24)); },
         Expect::FileTiles, TrueColourPixel, 28},
        {"full_32_bits", [](const std::wstring& folder) { return WriteStrip(folder, FullTrueColour(32)); },
         Expect::FileTiles, TrueColourPixel, 28},
    };
}

}  // namespace

class StripFiles : public ::testing::TestWithParam<StripCase> {};

TEST_P(StripFiles, ShowTheirWholeTilesOrTheBuiltInOnes)
{
    const StripCase& strip = GetParam();
    ParkPointer();
    GameFolder folder((std::string("strip-") + strip.name).c_str());
    const std::string panel = strip.make(folder.path);
    const std::string settings = "[File Name]\r\nPanelBMP=" + panel + "\r\n";
    folder.WriteIni(settings);

    Picture expectedStrip;
    Picture otherStrip;  // a second right answer, for damaged files
    if (strip.expect == Expect::Loader) {
        expectedStrip = StripFromLoader(panel);
        otherStrip = BuiltInStrip();
    } else {
        const Picture file = PictureOf(strip.colour);
        expectedStrip = strip.fileTiles > 0 ? Completed(file, strip.fileTiles) : BuiltInStrip();
        // The file's tiles can be told from the built-in ones.
        for (int tile = 0; tile < strip.fileTiles; ++tile)
            ASSERT_NE(TileAt(file, SquareSize * tile, 0), tile) << "file tile " << tile << " looks built in";
    }

    // Started minimized, the run does not wait for built-in covered squares,
    // which a strip file replaces; the window is then restored to be seen.
    GameRun game(folder, SW_SHOWMINNOACTIVE);
    ASSERT_TRUE(game.started());
    ShowWindow(game.window(), SW_RESTORE);
    model::Start(10, 5, 10);
    if (otherStrip.width > 0) {
        WaitUntil([&] {
            const Picture shown = game.Capture();
            if (Differences(shown, model::Shown(), otherStrip).empty() &&
                !Differences(shown, model::Shown(), expectedStrip).empty())
                expectedStrip = otherStrip;
            return Differences(shown, model::Shown(), expectedStrip).empty();
        });
    }
    EXPECT_EQ(WaitForPicture(game, model::Shown(), expectedStrip), "") << "first board";
    // An open with a number, a flood, a wrong flag and a right one...
    model::ClickBoth(game, 0, 0);
    model::ClickBoth(game, 9, 0);
    model::RightPressBoth(game, 0, 1);
    model::RightPressBoth(game, 1, 2);
    EXPECT_EQ(WaitForPicture(game, model::Shown(), expectedStrip), "") << "in play";
    // ...then the bomb at (1, 1): every end-of-game picture.
    model::ClickBoth(game, 1, 1);
    EXPECT_EQ(model::Shown().Square(1, 1), 15);
    EXPECT_EQ(WaitForPicture(game, model::Shown(), expectedStrip), "") << "after the loss";
    EXPECT_TRUE(game.NoPopup());
    ASSERT_EQ(game.Quit(), 0);
    EXPECT_NE(folder.ReadIni().find(settings), std::string::npos) << "the PanelBMP line changed";
}

INSTANTIATE_TEST_SUITE_P(Files, StripFiles, ::testing::ValuesIn(StripCases()),
                         [](const ::testing::TestParamInfo<StripCase>& info) { return std::string(info.param.name); });
