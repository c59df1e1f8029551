// The bytes of a bottom-up, uncompressed bitmap file, for the tests that
// hand the program tile strips of their own. Pixels come from a function of
// (x, y): a palette index for 1, 4 and 8 bits, 0x00RRGGBB for 24 and 32.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

inline void PutLittleEndian(std::string& bytes, unsigned value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
}

inline std::string BmpFileBytes(int width, int height, int bits, const std::function<unsigned(int, int)>& pixel,
                                const std::vector<unsigned>& palette = {})
{
    const size_t stride = ((static_cast<size_t>(width) * static_cast<size_t>(bits) + 31) / 32) * 4;
    const unsigned imageSize = static_cast<unsigned>(stride * static_cast<size_t>(height));
    const unsigned offset = 14 + 40 + 4 * static_cast<unsigned>(palette.size());
    std::string bytes = "BM";
    for (const unsigned field : {offset + imageSize, 0u, offset, 40u})
        PutLittleEndian(bytes, field, 4);
    PutLittleEndian(bytes, static_cast<unsigned>(width), 4);
    PutLittleEndian(bytes, static_cast<unsigned>(height), 4);
    PutLittleEndian(bytes, 1, 2);  // planes
    PutLittleEndian(bytes, static_cast<unsigned>(bits), 2);
    // Uncompressed, the image size, 72 dots per inch both ways, the colours.
    for (const unsigned field : {0u, imageSize, 2835u, 2835u, static_cast<unsigned>(palette.size()), 0u})
        PutLittleEndian(bytes, field, 4);
    for (unsigned colour : palette)
        PutLittleEndian(bytes, colour, 4);  // blue, green, red, 0: 0x00RRGGBB little-endian
    for (int y = height - 1; y >= 0; --y) {
        std::string row(stride, '\0');
        for (int x = 0; x < width; ++x) {
            const unsigned value = pixel(x, y);
            if (bits == 24 || bits == 32) {
                const size_t at = static_cast<size_t>(x) * static_cast<size_t>(bits / 8);
                row[at] = static_cast<char>(value & 0xFF);
                row[at + 1] = static_cast<char>((value >> 8) & 0xFF);
                row[at + 2] = static_cast<char>((value >> 16) & 0xFF);
            } else {
                const size_t bit = static_cast<size_t>(x) * static_cast<size_t>(bits);
                const int shift = 8 - bits - static_cast<int>(bit % 8);
                row[bit / 8] = static_cast<char>(static_cast<unsigned char>(row[bit / 8]) | (value << shift));
            }
        }
        bytes += row;
    }
    return bytes;
}
