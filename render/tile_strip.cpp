#include "render/tile_strip.h"

#include "core/geometry.h"
#include "render/back_buffer.h"
#include "render/bitmap_file_check.h"
#include "resources/resource.h"

HBITMAP TileStrip;

namespace {

constexpr int TilesInStrip = StripWidth / SquareSize;

// How many whole tiles, counted from tile 0, a bitmap holds.
int WholeTiles(HBITMAP bitmap)
{
    BITMAP info = {};
    if (!GetObjectA(bitmap, sizeof info, &info) || info.bmHeight < StripHeight)
        return 0;
    const int tiles = info.bmWidth / SquareSize;
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
    BitBlt(target, 0, 0, SquareSize * fileTiles, StripHeight, source, 0, 0, SRCCOPY);
    SelectObject(source, oldSource);
    SelectObject(target, oldTarget);
    DeleteDC(source);
    DeleteDC(target);
    return strip;
}

// The strip file as a bitmap, or null when it is none or when
// its pixel data is cut short.
HBITMAP LoadStripFile(const wchar_t* path)
{
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return nullptr;
    unsigned char head[BitmapHeadersSize] = {};
    DWORD got = 0;
    LARGE_INTEGER size = {};
    const BOOL read = ReadFile(file, head, sizeof head, &got, nullptr) && GetFileSizeEx(file, &size);
    CloseHandle(file);
    if (!read || !BitmapFileIsWhole(head, got, static_cast<uint64_t>(size.QuadPart)))
        return nullptr;
    return static_cast<HBITMAP>(LoadImageW(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
}

}  // namespace

void ChooseTileStrip(const wchar_t* stripPath, HINSTANCE instance)
{
    // A relative path is taken as it stands, against the current directory.
    HBITMAP fromFile = stripPath[0] != L'\0' ? LoadStripFile(stripPath) : nullptr;
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
