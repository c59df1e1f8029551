#include "tests/win/picture.h"

#include <cstring>

namespace {

BITMAPINFO TopDown32(int width, int height)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

}  // namespace

Picture Grab(HDC source, int left, int top, int width, int height)
{
    BITMAPINFO info = TopDown32(width, height);
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC memory = CreateCompatibleDC(source);
    HGDIOBJ old = SelectObject(memory, dib);
    BitBlt(memory, 0, 0, width, height, source, left, top, SRCCOPY);
    GdiFlush();
    Picture picture(width, height);
    const auto* raw = static_cast<const std::uint32_t*>(bits);
    for (std::size_t i = 0; i < picture.pixels.size(); ++i)
        picture.pixels[i] = raw[i] & 0xFFFFFF;
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(dib);
    return picture;
}

Picture CaptureClient(HWND window)
{
    RECT client;
    if (!GetClientRect(window, &client))
        return Picture();
    HDC dc = GetDC(window);
    Picture picture = Grab(dc, 0, 0, client.right, client.bottom);
    ReleaseDC(window, dc);
    return picture;
}

Picture PictureOfBitmap(HBITMAP bitmap)
{
    BITMAP size = {};
    GetObjectA(bitmap, sizeof size, &size);
    Picture picture(size.bmWidth, size.bmHeight);
    BITMAPINFO info = TopDown32(size.bmWidth, size.bmHeight);
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, bitmap, 0, static_cast<UINT>(size.bmHeight), picture.pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    for (std::uint32_t& pixel : picture.pixels)
        pixel &= 0xFFFFFF;
    return picture;
}

Picture DecodeEightBitDib(const unsigned char* infoHeader, const unsigned char* rows)
{
    BITMAPINFOHEADER header;
    std::memcpy(&header, infoHeader, sizeof header);
    if (header.biBitCount != 8 || header.biCompression != BI_RGB || header.biHeight <= 0)
        return Picture();
    const int colours = header.biClrUsed ? static_cast<int>(header.biClrUsed) : 256;
    const unsigned char* table = infoHeader + header.biSize;
    if (!rows)
        rows = table + 4 * colours;
    const int stride = (header.biWidth + 3) & ~3;
    Picture picture(header.biWidth, header.biHeight);
    for (int y = 0; y < picture.height; ++y) {
        const unsigned char* row = rows + static_cast<std::size_t>(picture.height - 1 - y) * static_cast<std::size_t>(stride);
        for (int x = 0; x < picture.width; ++x) {
            const unsigned char* quad = table + 4 * row[x];
            picture.Set(x, y, static_cast<std::uint32_t>(quad[2] << 16 | quad[1] << 8 | quad[0]));
        }
    }
    return picture;
}
