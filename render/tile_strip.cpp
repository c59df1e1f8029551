#include "render/tile_strip.h"

#include "app/shell_state.h"
#include "render/back_buffer.h"
#include "resources/resource.h"

HBITMAP TileStrip;

namespace {

constexpr int TileSize = 16;
constexpr int TilesInStrip = StripWidth / TileSize;

// How many whole tiles, counted from tile 0, a bitmap holds.
int WholeTiles(HBITMAP bitmap)
{
    BITMAP info = {};
    if (!GetObjectA(bitmap, sizeof info, &info) || info.bmHeight < StripHeight)
        return 0;
    const int tiles = info.bmWidth / TileSize;
    return tiles < TilesInStrip ? tiles : TilesInStrip;
}

// A strip of the screen's format holding the file's whole tiles and the
// built-in tiles after them, so a partial skin still gives a whole picture.
HBITMAP CompleteStrip(HBITMAP fromFile, int fileTiles, HBITMAP builtIn)
{
    HBITMAP strip = CreateCompatibleBitmap(backBufferDC, StripWidth, StripHeight);
    HDC target = CreateCompatibleDC(backBufferDC);
    HDC source = CreateCompatibleDC(backBufferDC);
    HGDIOBJ oldTarget = SelectObject(target, strip);
    HGDIOBJ oldSource = SelectObject(source, builtIn);
    BitBlt(target, 0, 0, StripWidth, StripHeight, source, 0, 0, SRCCOPY);
    SelectObject(source, fromFile);
    BitBlt(target, 0, 0, TileSize * fileTiles, StripHeight, source, 0, 0, SRCCOPY);
    SelectObject(source, oldSource);
    SelectObject(target, oldTarget);
    DeleteDC(source);
    DeleteDC(target);
    return strip;
}

}  // namespace

void ChooseTileStrip(const char* settingsPath, HINSTANCE instance)
{
    panelBmpPath[0] = '\0';
    if (iniPathUsable)
        GetPrivateProfileStringA("File Name", "PanelBMP", "", panelBmpPath, 255, settingsPath);

    // A relative value is taken as it stands, against the current directory.
    HBITMAP fromFile = nullptr;
    if (panelBmpPath[0] != '\0')
        fromFile = static_cast<HBITMAP>(
            LoadImageA(nullptr, panelBmpPath, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    HBITMAP builtIn = LoadBitmapA(instance, MAKEINTRESOURCEA(IDB_TILES));

    const int fileTiles = fromFile ? WholeTiles(fromFile) : 0;
    if (fileTiles == TilesInStrip) {
        TileStrip = fromFile;
        DeleteObject(builtIn);
    } else if (fileTiles > 0) {
        TileStrip = CompleteStrip(fromFile, fileTiles, builtIn);
        DeleteObject(fromFile);
        DeleteObject(builtIn);
    } else {
        if (fromFile)
            DeleteObject(fromFile);
        TileStrip = builtIn;
    }
}
