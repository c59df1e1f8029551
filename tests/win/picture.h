// A picture of 0x00RRGGBB pixels, top row first, and the ways the Windows
// tests take one: from a device context, from a window's client area, from
// a bitmap, or from an 8-bit bitmap's bytes.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <vector>

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    Picture() = default;
    Picture(int w, int h, std::uint32_t fill = 0)
        : width(w), height(h), pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), fill)
    {
    }
    std::uint32_t At(int x, int y) const { return pixels[Index(x, y)]; }
    void Set(int x, int y, std::uint32_t colour) { pixels[Index(x, y)] = colour; }

private:
    std::size_t Index(int x, int y) const
    {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x);
    }
};

// A block of `source` as it is now.
Picture Grab(HDC source, int left, int top, int width, int height);

// A window's client-area pixels as they are on the screen now.
Picture CaptureClient(HWND window);

// A bitmap's pixels, read back at 32 bits.
Picture PictureOfBitmap(HBITMAP bitmap);

// An uncompressed, bottom-up 8-bit bitmap from its info header, followed by
// its colour table; its rows follow the table unless given. Empty for any
// other kind.
Picture DecodeEightBitDib(const unsigned char* infoHeader, const unsigned char* rows = nullptr);
