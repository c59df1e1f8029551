// Minimal PNG encoder for preview pictures: 8-bit RGB, no interlace, and the
// image data in stored (uncompressed) deflate blocks, so no compression
// library is needed. Previews are small; their size does not matter.
#ifndef TSWEEPER_TOOLS_PNG_OUT_H
#define TSWEEPER_TOOLS_PNG_OUT_H

#include "byte_out.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

inline std::uint32_t Crc32(const std::uint8_t* data, std::size_t size)
{
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int bit = 0; bit < 8; ++bit) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

inline std::uint32_t Adler32(const Bytes& data)
{
    const std::uint32_t modulus = 65521;
    std::uint32_t a = 1, b = 0;
    for (std::uint8_t byte : data) {
        a = (a + byte) % modulus;
        b = (b + a) % modulus;
    }
    return (b << 16) | a;
}

// zlib stream holding `data` in stored deflate blocks of at most 65535 bytes.
inline Bytes ZlibStored(const Bytes& data)
{
    Bytes out;
    PutU8(out, 0x78);  // deflate, 32 KiB window
    PutU8(out, 0x01);  // no dictionary, fastest; (0x78 << 8 | 0x01) is a multiple of 31
    std::size_t offset = 0;
    do {
        std::size_t length = data.size() - offset;
        if (length > 65535) length = 65535;
        bool last = offset + length == data.size();
        PutU8(out, last ? 1 : 0);  // BFINAL, BTYPE 00 (stored)
        PutLe16(out, static_cast<std::uint32_t>(length));
        PutLe16(out, static_cast<std::uint32_t>(~length & 0xFFFF));
        out.insert(out.end(), data.begin() + static_cast<std::ptrdiff_t>(offset),
                   data.begin() + static_cast<std::ptrdiff_t>(offset + length));
        offset += length;
    } while (offset < data.size());
    PutBe32(out, Adler32(data));
    return out;
}

inline void PutPngChunk(Bytes& out, const char type[4], const Bytes& payload)
{
    PutBe32(out, static_cast<std::uint32_t>(payload.size()));
    std::size_t crcStart = out.size();
    for (int i = 0; i < 4; ++i) PutU8(out, static_cast<std::uint8_t>(type[i]));
    out.insert(out.end(), payload.begin(), payload.end());
    PutBe32(out, Crc32(out.data() + crcStart, out.size() - crcStart));
}

// PNG file of a width x height image given as RGB triples, rows from the top.
inline Bytes EncodePng(int width, int height, const Bytes& rgb)
{
    Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes header;
    PutBe32(header, static_cast<std::uint32_t>(width));
    PutBe32(header, static_cast<std::uint32_t>(height));
    PutU8(header, 8);  // bits per sample
    PutU8(header, 2);  // colour type: RGB
    PutU8(header, 0);  // compression: deflate
    PutU8(header, 0);  // filter method 0
    PutU8(header, 0);  // no interlace
    PutPngChunk(out, "IHDR", header);

    Bytes scanlines;
    std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
    for (int y = 0; y < height; ++y) {
        PutU8(scanlines, 0);  // filter type None
        auto row = rgb.begin() + static_cast<std::ptrdiff_t>(rowBytes * static_cast<std::size_t>(y));
        scanlines.insert(scanlines.end(), row, row + static_cast<std::ptrdiff_t>(rowBytes));
    }
    PutPngChunk(out, "IDAT", ZlibStored(scanlines));
    PutPngChunk(out, "IEND", Bytes());
    return out;
}

#endif
